// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loading bracket every component shares: a window-building function puts each component
// into the loading state, applies its stored property values, then calls loaded() on every
// component in creation order. A component made in code outside such a function never loads.
//
// assignIfChanged serves the setters that act only on a change:
//     if (assignIfChanged(m_color, value))
//         Repaint();

#include <utility>

// Stores value in field and tells whether that changed the field.
template <class T, class U> bool assignIfChanged(T &field, U &&value)
{
    if (field == value)
        return false;
    field = std::forward<U>(value);
    return true;
}

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
