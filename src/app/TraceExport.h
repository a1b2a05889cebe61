// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a class hands in: the trace as CSV and pictures as PNG, each carrying the settings that
// made them (in the PNG's text chunks, in "#" comment lines at the head of the CSV, which
// common tools skip).

#include <QList>
#include <QSize>
#include <QString>
#include <optional>
#include <utility>

class QWidget;
class TfrmExample;

using TraceSettings = QList<std::pair<QString, QString>>;

// The settings behind the current trace: program and version, centre mass, range, resolving
// power, amplification with its full scale, the amounts in percent, the own substance's
// formula, charge and amount when there is one, the tour step, and the noise seed when one
// was given (or "Noise: off").
TraceSettings traceSettings(const TfrmExample &window);

// Writes the trace buffer as CSV: the settings as comment lines, a header line, then one line
// per sample in index order, each number the shortest text that reads back as the same double.
bool exportTraceCsv(const TfrmExample &window, const QString &fileName, QString *error);

// A picture format that snapshots are written in, chosen by the file name's extension (case
// does not matter; a name without one is PNG), and whether it keeps the settings: PNG as text
// chunks, JPEG as comments, BMP not at all. Null for any other extension.
struct PictureFormat
{
    const char *format; // Qt's name for the image writer
    bool keepsSettings;
    int quality; // the writer's quality, -1 for its default
};
const PictureFormat *pictureFormatOf(const QString &fileName);
// The extensions for messages: "png, jpg, jpeg or bmp".
QString pictureExtensions();

// Renders a window's client area (at its designed size, in device pixels of the window's
// screen) into a picture file in the format of its name, with the settings where the format
// keeps them, and the display size ("Scale") when it is not 1. A window that is not shown is shown
// off the screen first, so every control is polished, laid out and painted as it would be on
// the screen.
bool writeSnapshot(QWidget &window, QSize clientSize, const QString &fileName, QString *error,
                   const TraceSettings &settings = {});
