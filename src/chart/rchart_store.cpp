// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's item store: growth, the add operations, ClearItems, ShowItems, the painting
// filter and the sharing of one store between several charts.

#include "chart/Zel_rchart.h"

#include "platform/MessageBox.h"

#include <algorithm>
#include <cstring>

// --- Item text ----------------------------------------------------------------------------

QString TItemText::toString() const
{
    return QString::fromLatin1(Chars, std::min<int>(Length, MaxLength));
}

void TItemText::assign(const QString &text)
{
    const QByteArray latin = text.left(MaxLength).toLatin1();
    Length = static_cast<std::uint8_t>(std::min<qsizetype>(latin.size(), MaxLength));
    std::memset(Chars, 0, sizeof Chars);
    std::memcpy(Chars, latin.constData(), Length);
}

// --- Store attributes ---------------------------------------------------------------------

void TCustomRChart::SetAllocSize(int value)
{
    if (value >= 1 && value <= MaxAllocSize)
        m_allocSize = value;
}

void TCustomRChart::SetActiveLayer(int layer)
{
    if (layer >= 1 && layer <= LayerCount) {
        m_activeLayer = layer; // painting draws this layer's grid
        m_dataDirty = true;
    }
}

void TCustomRChart::SetLineWidth(int width)
{
    m_lineWidth = static_cast<std::uint8_t>(std::clamp(width, 0, 255));
}

void TCustomRChart::SetClassDefault(int classNo)
{
    if (classNo >= 0 && classNo <= 254)
        m_classDefault = static_cast<std::uint8_t>(classNo);
}

// --- Growth and clearing ------------------------------------------------------------------

// Grows the array by AllocSize items. The new storage is zero-initialised and replaces the
// old one; sharing charts pick it up through the synchronisation that follows every add.
void TCustomRChart::growItems()
{
    const int newCapacity = m_capacity + m_allocSize;
    if (!m_items && m_spareItems) {
        m_items = std::move(m_spareItems);
        m_allocated = m_spareAllocated;
        m_spareAllocated = 0;
    }
    if (newCapacity <= m_allocated && m_items.use_count() == 1) {
        m_capacity = newCapacity;
        return;
    }
    // Every append overwrites its whole slot, so the new storage needs no clearing.
    std::shared_ptr<TChartItem[]> grown(new TChartItem[newCapacity]);
    if (m_count > 0)
        std::copy_n(m_items.get(), m_count, grown.get());
    m_items = std::move(grown);
    m_capacity = newCapacity;
    m_allocated = newCapacity;
}

void TCustomRChart::ClearItems()
{
    // An array kept for reuse must be the chart's alone, and not a huge one.
    constexpr int maxKeptItems = 65536;
    if (m_items.use_count() == 1 && m_allocated <= maxKeptItems) {
        m_spareItems = std::move(m_items);
        m_spareAllocated = m_allocated;
    }
    m_items.reset();
    m_allocated = 0;
    m_count = 0;
    m_capacity = 0;
    m_bareAreaPending = true;
    m_dataDirty = true;
    if (m_dataOwner != nullptr || m_dataUserCount > 0)
        synchroniseShares();
}

// --- Further add operations ---------------------------------------------------------------

void TCustomRChart::AddMark(double X, double Y, int Mark)
{
    TChartItem &item = newItem(ikMark);
    item.X = X;
    item.Y = Y;
    item.Mode = static_cast<std::uint8_t>(Mark);
    commitItem();
}

void TCustomRChart::AddLine(double X1, double Y1, double X2, double Y2)
{
    TChartItem &item = newItem(ikLine);
    item.X = X1;
    item.Y = Y1;
    item.X2 = X2;
    item.Y2 = Y2;
    item.FillColor = m_fillColor;
    commitItem();
}

void TCustomRChart::AddRect(double X1, double Y1, double X2, double Y2, bool Transparent)
{
    TChartItem &item = newItem(ikRect);
    item.X = X1;
    item.Y = Y1;
    item.X2 = X2;
    item.Y2 = Y2;
    item.FillColor = m_fillColor;
    item.Transparent = Transparent;
    commitItem();
}

void TCustomRChart::AddFramedRect(double X1, double Y1, double X2, double Y2,
                                  TFrameStyle FrameStyle, TColor FrameColor1, TColor FrameColor2)
{
    TChartItem &item = newItem(ikFramedRect);
    item.X = X1;
    item.Y = Y1;
    item.X2 = X2;
    item.Y2 = Y2;
    item.FillColor = m_fillColor;
    item.FrameStyle = static_cast<std::uint8_t>(FrameStyle);
    item.FrameColor1 = FrameColor1;
    item.FrameColor2 = FrameColor2;
    commitItem();
}

void TCustomRChart::AddBar3D(double X1, double Y1, double X2, double Y2, int Depth, int Angle)
{
    TChartItem &item = newItem(ikBar3D);
    item.X = X1;
    item.Y = Y1;
    item.X2 = X2;
    item.Y2 = Y2;
    item.FillColor = m_fillColor;
    item.Depth = Depth;
    item.Size = Angle;
    commitItem();
}

void TCustomRChart::AddEllipse(double X, double Y, double RadiusX, double RadiusY, bool Transparent)
{
    TChartItem &item = newItem(ikEllipse);
    item.X = X;
    item.Y = Y;
    item.X2 = RadiusX;
    item.Y2 = RadiusY;
    item.FillColor = m_fillColor;
    item.Transparent = Transparent;
    commitItem();
}

void TCustomRChart::AddText(double X, double Y, const QString &Text, int Size,
                            std::optional<TAlignment> Alignment)
{
    TChartItem &item = newItem(ikText);
    item.X = X;
    item.Y = Y;
    item.Text.assign(Text);
    item.Size = Size;
    item.Mode = static_cast<std::uint8_t>(Alignment.value_or(m_textAlignment));
    commitItem();
}

void TCustomRChart::AddTextOfs(double X, double Y, int OffsetX, int OffsetY, const QString &Text,
                               int Size, std::optional<TAlignment> Alignment)
{
    TChartItem &item = newItem(ikTextOfs);
    item.X = X;
    item.Y = Y;
    item.X2 = OffsetX;
    item.Y2 = OffsetY;
    item.Text.assign(Text);
    item.Size = Size;
    item.Mode = static_cast<std::uint8_t>(Alignment.value_or(m_textAlignment));
    commitItem();
}

void TCustomRChart::AddMoveRel(int DX, int DY)
{
    TChartItem &item = newItem(ikMoveRel);
    item.X = DX;
    item.Y = DY;
    commitItem();
}

void TCustomRChart::AddLineRel(int DX, int DY)
{
    TChartItem &item = newItem(ikLineRel);
    item.X = DX;
    item.Y = DY;
    item.FillColor = m_fillColor;
    commitItem();
}

void TCustomRChart::AddArrow(double X1, double Y1, double X2, double Y2, int HeadLength,
                             bool OpenHead)
{
    TChartItem &item = newItem(ikArrow);
    item.X = X1;
    item.Y = Y1;
    item.X2 = X2;
    item.Y2 = Y2;
    item.FillColor = m_fillColor;
    item.Size = HeadLength;
    item.Transparent = OpenHead;
    commitItem();
}

void TCustomRChart::AddBox(double X, double Y, int HalfWidth, int HalfHeight, bool Transparent)
{
    TChartItem &item = newItem(ikBox);
    item.X = X;
    item.Y = Y;
    item.X2 = HalfWidth;
    item.Y2 = HalfHeight;
    item.FillColor = m_fillColor;
    item.Transparent = Transparent;
    commitItem();
}

// --- Painting filter ----------------------------------------------------------------------

bool TCustomRChart::ClassVisible(int classNo) const
{
    return classNo >= 0 && classNo < ClassCount && m_classVisible[classNo];
}

void TCustomRChart::SetClassVisible(int classNo, bool visible)
{
    if (classNo >= 0 && classNo < ClassCount) {
        m_classVisible[classNo] = visible;
        m_dataDirty = true;
    }
}

bool TCustomRChart::LayerVisible(int layer) const
{
    return layer >= 1 && layer <= LayerCount && m_layerVisible[layer - 1];
}

void TCustomRChart::SetLayerVisible(int layer, bool visible)
{
    if (layer >= 1 && layer <= LayerCount) {
        m_layerVisible[layer - 1] = visible;
        m_dataDirty = true;
    }
}

bool TCustomRChart::isItemVisible(const TChartItem &item) const
{
    return m_classVisible[item.ClassNo] && LayerVisible(item.Layer);
}

// --- ShowItems ----------------------------------------------------------------------------

void TCustomRChart::ShowItems()
{
    if (isVisible()) {
        if (m_dataOwner != nullptr || m_dataUserCount > 0)
            synchroniseShares();
        if (m_autoRedraw) {
            if (canPaint()) {
                // A full repaint since the last change of the store (the range setting of a
                // display update) has drawn exactly these items, and the crosshairs, already.
                // The data area is drawn again only when that picture may differ: rendering
                // handlers (which are raised on every redraw) and a background picture (read
                // from its file on every redraw).
                const bool handlers = OnBeforeRenderData || OnDataRendered;
                if (m_dataDirty || m_frameDirty || handlers || !m_bakGndImg->Name().isEmpty()) {
                    redrawDataArea();
                }
                update(dataRect());
            }
        } else {
            fullRepaint();
        }
    }
    if (TCustomRChart *owner = m_dataOwner) {
        owner->repaintIfAutoRedraw();
        for (int i = 0; i < owner->m_dataUserCount; ++i)
            owner->m_dataUsers[i]->repaintIfAutoRedraw();
    }
    for (int i = 0; i < m_dataUserCount; ++i)
        m_dataUsers[i]->repaintIfAutoRedraw();
}

// --- Sharing ------------------------------------------------------------------------------

TCustomRChart *TCustomRChart::DataUsers(int index) const
{
    return index >= 0 && index < m_dataUserCount ? m_dataUsers[index] : nullptr;
}

// The writer hands its array and Count on: first to its owner and all the owner's users, then
// to its own users, so every chart of the group shows the same items.
void TCustomRChart::synchroniseShares()
{
    if (TCustomRChart *owner = m_dataOwner) {
        owner->takeStoreOf(*this);
        for (int i = 0; i < owner->m_dataUserCount; ++i)
            owner->m_dataUsers[i]->takeStoreOf(*this);
    }
    for (int i = 0; i < m_dataUserCount; ++i)
        m_dataUsers[i]->takeStoreOf(*this);
}

void TCustomRChart::takeStoreOf(const TCustomRChart &writer)
{
    if (this == &writer)
        return;
    if (m_items != writer.m_items)
        m_items = writer.m_items;
    m_count = writer.m_count;
    m_capacity = writer.m_capacity;
    m_allocated = writer.m_allocated;
    m_dataDirty = true;
}

// A chart that leaves a sharing group keeps its items, but not the group's array: otherwise
// two charts that no longer synchronise would append into the same slots.
void TCustomRChart::makeItemsPrivate()
{
    if (!m_items || m_items.use_count() == 1)
        return;
    std::shared_ptr<TChartItem[]> own(new TChartItem[m_capacity]);
    std::copy_n(m_items.get(), m_count, own.get());
    m_items = std::move(own);
    m_allocated = m_capacity;
}

void TCustomRChart::removeDataUser(TCustomRChart *user)
{
    const auto end = m_dataUsers.begin() + m_dataUserCount;
    const auto found = std::find(m_dataUsers.begin(), end, user);
    if (found == end)
        return;
    std::copy(found + 1, end, found);
    m_dataUsers[--m_dataUserCount] = nullptr;
}

void TCustomRChart::useDataOf(TCustomRChart *chart)
{
    if (chart == this) {
        showMessage(MessageKind::Information,
                    QStringLiteral("RChart: Cannot share data with myself"));
        return;
    }
    if (m_dataUserCount > 0) {
        showMessage(MessageKind::Information,
                    QStringLiteral(
                        "RChart: Cannot use foreign data. Other RCharts are using my own data."));
        return;
    }
    if (chart == m_dataOwner)
        return;

    if (chart != nullptr) {
        // Sharing is always with the chart that owns the data, one level deep.
        TCustomRChart *owner = chart->m_dataOwner != nullptr ? chart->m_dataOwner : chart;
        // Attaching again to the present owner (through one of its users) moves this chart
        // to the end of the user list, or is refused like any attach to a full group.
        if (owner->m_dataUserCount >= MaxDataUsers) {
            showMessage(MessageKind::Information,
                        QStringLiteral("RChart: Max. number of data shares exceeded"));
            return;
        }
        if (m_dataOwner != nullptr)
            m_dataOwner->removeDataUser(this);
        m_dataOwner = owner;
        takeStoreOf(*owner);
        owner->m_dataUsers[owner->m_dataUserCount++] = this;
    } else {
        m_dataOwner->removeDataUser(this);
        m_dataOwner = nullptr;
        makeItemsPrivate();
        m_dataDirty = true;
    }
    repaintIfAutoRedraw();
}

// Called on destruction: the chart leaves its owner's user list, and its own users drop it as
// their owner, each keeping the items (the last one keeps the array itself).
void TCustomRChart::leaveSharingGroup()
{
    if (m_dataOwner != nullptr) {
        m_dataOwner->removeDataUser(this);
        m_dataOwner = nullptr;
    }
    m_items.reset();
    m_allocated = 0;
    for (int i = 0; i < m_dataUserCount; ++i) {
        TCustomRChart *user = m_dataUsers[i];
        user->m_dataOwner = nullptr;
        user->makeItemsPrivate();
        m_dataUsers[i] = nullptr;
    }
    m_dataUserCount = 0;
}
