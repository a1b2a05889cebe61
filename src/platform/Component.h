#pragma once
// The loading bracket every component shares: a window-building function puts each component
// into the loading state, applies its stored property values, then calls loaded() on every
// component in creation order. A component made in code outside such a function never loads.

class ZelComponent
{
public:
    virtual ~ZelComponent() = default;

    void beginLoading() { m_loading = true; }
    bool isLoading() const { return m_loading; }
    // Ends the loading state; derived components finish their set-up here.
    virtual void loaded() { m_loading = false; }

private:
    bool m_loading = false;
};
