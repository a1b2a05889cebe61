// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SampleLists.h"

std::vector<NamedLine>
linesInWindow(const SliderPositions &p, std::span<const NamedLine> furtherLines,
              const std::function<QString(const QString &key)> &substanceName)
{
    const VisibleWindow window = visibleWindow(p);
    std::vector<NamedLine> lines;
    // One list's line, added to the one before it at the same mass.
    const auto add = [&](size_t firstOfList, NamedLine line) {
        if (line.mz < window.XLo || line.mz > window.XHi)
            return;
        if (lines.size() > firstOfList && lines.back().mz == line.mz)
            lines.back().height += line.height;
        else
            lines.push_back(std::move(line));
    };
    for (const NamedList &list : namedLists) {
        const double factor = amountFactor(list, p);
        if (factor <= 0)
            continue;
        const QString name =
            list.amount ? substanceName(QString::fromLatin1(list.nameKey)) : QString();
        const auto entries = peakList(list.id);
        const size_t firstOfList = lines.size();
        for (size_t i = 0; i < entries.size(); ++i)
            add(firstOfList, {list.amount ? name : QString::fromUtf8(airSpecies[i]),
                              double(entries[i].mass), factor * entries[i].intensity});
    }
    const size_t firstFurther = lines.size();
    for (const NamedLine &line : furtherLines)
        add(firstFurther, line);
    return lines;
}
