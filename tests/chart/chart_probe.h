// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test helpers for the chart: a chart that counts its full repaints, and a message box
// replacement that records the texts instead of blocking.

#include "chart/Zel_rchart.h"
#include "platform/MessageBox.h"

#include <QStringList>

class ProbeChart : public TRChart
{
public:
    using TRChart::TRChart;

    int fullRepaints = 0;

protected:
    void fullRepaint() override
    {
        ++fullRepaints;
        TRChart::fullRepaint();
    }
};

class MessageCapture
{
public:
    MessageCapture()
    {
        m_previous = setMessageBoxHandler([this](MessageKind kind, const QString &text) {
            if (kind == MessageKind::Information)
                texts << text;
            else
                otherKinds << text;
        });
    }
    ~MessageCapture() { setMessageBoxHandler(std::move(m_previous)); }
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    QStringList texts;      // information boxes
    QStringList otherKinds; // anything else (none expected from the chart)

private:
    MessageBoxHandler m_previous;
};
