// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The translator's check of a dictionary (--check-dictionary FILE). Against the English
// dictionary built into the program it finds the keys FILE lacks, the entries of FILE that the
// program never looks up (a key of its own, or a second entry for a key), the texts that do
// not fit the fixed boxes of the main window and the About box, and the parameter placeholders
// ("<%1%>") of the English text that FILE's text lost. The boxes are measured as the windows
// lay them out, with FILE's texts in them.

#include <QString>
#include <QStringList>
#include <vector>

class QTextEdit;
class QWidget;

// One text in a box of fixed size: what it needs and what the box gives it, in pixels, across
// or (for word-wrapped labels and the explanation pane) down.
struct TextFit
{
    QString control; // the box's object name
    QString text;
    int needed = 0;
    int room = 0;
    bool down = false;
    QString key = {}; // the dictionary key of a text that the program writes in as it runs
    bool fits() const { return needed <= room; }
};

// The non-empty texts of window and of the boxes it holds whose size the layout fixes: labels
// (the part of a label that its parent shows), button captions with their glyphs, the
// read-out's left text beside its field, hyperlink captions in their underlined font,
// word-wrapped labels and the explanation pane with its current text. Menus, tips and the
// dialogs that size themselves to their texts are not among them.
std::vector<TextFit> fixedPlaceTexts(QWidget *window);

// The height a plain text needs in the pane, at the pane's width and font.
TextFit paneFit(QTextEdit *pane, const QString &text);

struct DictionaryCheck
{
    QString error;        // FILE cannot be read as a dictionary (exit code 2); nothing else set
    QStringList findings; // one line each
    int missing = 0;
    int unused = 0;
    int tooLarge = 0;
    int lostPlaceholders = 0;
    QString summary;
    int exitCode() const { return !error.isEmpty() ? 2 : findings.isEmpty() ? 0 : 1; }
};

// Needs the application object (the windows are built, off the screen, with FILE's texts) and
// the host link suspended, so that a check runs beside an open program.
DictionaryCheck checkDictionary(const QString &file);

// The English dictionary as built into the program.
QByteArray referenceDictionary();
