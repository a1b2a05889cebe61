// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DictionaryCheck.h"

#include "app/AboutBox.h"
#include "app/Language.h"
#include "app/OwnSubstance.h"
#include "app/OwnSubstanceDialog.h"
#include "app/TfrmExample.h"
#include "i18n/Zodavided2000.h"
#include "platform/Controls.h"
#include "widgets/Zel_NumLab.h"
#include "widgets/Zel_urllab.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <cmath>

namespace {

// The part of a box that its parent shows: a caption beyond the parent's edge (or its bevel)
// is cut off there.
int visibleWidth(const QWidget *w)
{
    QRect inside = w->parentWidget()->rect();
    if (const auto *panel = qobject_cast<const TPanel *>(w->parentWidget())) {
        const int b = panel->borderWidth();
        inside.adjust(b, b, -b, -b);
    }
    return (w->geometry() & inside).width();
}

// A label's text on one line, or word-wrapped: then a word too long for a line sticks out
// across, too many lines down.
TextFit labelFit(const QLabel *label, const QString &text)
{
    const QString name = label->objectName();
    if (!label->wordWrap())
        return {name, text, label->fontMetrics().horizontalAdvance(text), visibleWidth(label)};
    const QRect needed = label->fontMetrics().boundingRect(
        QRect(0, 0, label->width(), 100000), int(label->alignment()) | Qt::TextWordWrap, text);
    if (needed.width() > label->width())
        return {name, text, needed.width(), label->width()};
    return {name, text, needed.height(), label->height(), true};
}

// The read-out's left text stands in its left space, 5 pixels clear of the field when
// right-aligned and 7 from the edge when left-aligned.
TextFit leftTextFit(const TNumLab *readout, const QString &name)
{
    const QString text = readout->LeftText();
    const int room = readout->LeftTextAlignment() == Zel::taRightJustify  ? readout->LeftSpace() - 5
                     : readout->LeftTextAlignment() == Zel::taLeftJustify ? readout->LeftSpace() - 7
                                                                          : readout->LeftSpace();
    return {name, text, QFontMetrics(readout->Font()->toQFont()).horizontalAdvance(text), room};
}

} // namespace

TextFit paneFit(QTextEdit *pane, const QString &text)
{
    QTextDocument document;
    document.setDefaultFont(pane->document()->defaultFont());
    document.setDocumentMargin(pane->document()->documentMargin());
    document.setPlainText(text);
    document.setTextWidth(pane->viewport()->width());
    return {pane->objectName(), text, int(std::ceil(document.size().height())),
            pane->viewport()->height(), true};
}

std::vector<TextFit> fixedPlaceTexts(QWidget *window)
{
    std::vector<TextFit> fits;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const QString name = w->objectName();
        if (auto *label = qobject_cast<QLabel *>(w)) {
            fits.push_back(labelFit(label, label->text()));
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            fits.push_back({name, button->text(), button->sizeHint().width(), button->width()});
        } else if (auto *readout = qobject_cast<TNumLab *>(w)) {
            fits.push_back(leftTextFit(readout, name));
        } else if (auto *link = qobject_cast<TUrlLab *>(w)) {
            fits.push_back(
                {name, link->Caption(),
                 QFontMetrics(link->FontActive()->toQFont()).horizontalAdvance(link->Caption()),
                 link->width()});
        } else if (auto *pane = qobject_cast<QTextEdit *>(w)) {
            fits.push_back(paneFit(pane, pane->document()->toRawText()));
        }
    }
    std::erase_if(fits, [](const TextFit &f) { return f.text.isEmpty(); });
    return fits;
}

QByteArray referenceDictionary()
{
    QFile file(QStringLiteral(":/lang/ionograph.itl"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

ZelI18n::ItlDictionary parsed(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ZelI18n::ItlDictionary dictionary;
    dictionary.load(buffer, QString());
    return dictionary;
}

QSet<QString> placeholders(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("<%(\\d+)%>"));
    QSet<QString> found;
    for (const QRegularExpressionMatch &m : pattern.globalMatch(text))
        found.insert(QStringLiteral("<%%1%>").arg(m.captured(1).toInt()));
    return found;
}

QString quoted(const QString &text)
{
    constexpr int shown = 60;
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    return QLatin1Char('"') + (t.size() > shown ? t.left(shown) + QChar(0x2026) : t) +
           QLatin1Char('"');
}

QString entryName(const QString &key)
{
    return QLatin1Char('[') + key + QLatin1Char(']');
}

// What FILE lacks or holds beyond the English dictionary, entry by entry.
void compareEntries(const ZelI18n::ItlDictionary &english, const ZelI18n::ItlDictionary &file,
                    DictionaryCheck &check)
{
    for (qsizetype i = 0; i < english.keys.size(); ++i) {
        const QString &key = english.keys[i];
        if (english.indexOf(key) != i)
            continue;
        const qsizetype j = file.indexOf(key);
        if (j < 0) {
            check.findings << QStringLiteral("missing key %1 (English: %2)")
                                  .arg(entryName(key), quoted(english.values[i]));
            ++check.missing;
            continue;
        }
        const QSet<QString> kept = placeholders(file.values[j]);
        QStringList lost = (placeholders(english.values[i]) - kept).values();
        lost.sort();
        for (const QString &placeholder : lost) {
            check.findings << QStringLiteral("lost placeholder %1 in %2: %3")
                                  .arg(placeholder, entryName(key), quoted(file.values[j]));
            ++check.lostPlaceholders;
        }
    }
    for (qsizetype j = 0; j < file.keys.size(); ++j) {
        const QString &key = file.keys[j];
        if (english.indexOf(key) < 0)
            check.findings << QStringLiteral("unused entry %1: the program has no such key")
                                  .arg(key.isEmpty() ? quoted(file.values[j]) : entryName(key));
        else if (file.indexOf(key) != j)
            check.findings << QStringLiteral("unused entry %1: a second entry for the key, "
                                             "the first one wins")
                                  .arg(entryName(key));
        else
            continue;
        ++check.unused;
    }
}

// The key whose text a box shows, for the report; the box's name when no entry has the text.
QString keyShowing(const ZelI18n::ItlDictionary &file, const TextFit &fit)
{
    if (!fit.key.isEmpty())
        return entryName(ZelI18n::lowerAZ(fit.key)) + QLatin1Char(' ');
    const qsizetype i = file.values.indexOf(fit.text);
    return i >= 0 ? entryName(file.keys[i]) + QLatin1Char(' ') : QString();
}

// Once for each text and box: the pane's first tour text is measured with the window and again
// with the other tour texts.
void reportTooLarge(const ZelI18n::ItlDictionary &file, const TextFit &fit, DictionaryCheck &check)
{
    const QString line =
        QStringLiteral("does not fit: %1%2 in %3 needs %4 px %5, the box has %6 px")
            .arg(keyShowing(file, fit), quoted(fit.text), fit.control)
            .arg(fit.needed)
            .arg(fit.down ? QStringLiteral("down") : QStringLiteral("across"))
            .arg(fit.room);
    if (check.findings.contains(line))
        return;
    check.findings << line;
    ++check.tooLarge;
}

// The texts that the program writes into boxes of fixed size as it runs, with parameters as
// wide as real ones: the tour's texts in the explanation pane, and the own substance dialog's
// results and the message of each way a formula cannot be read.
std::vector<TextFit> runningTexts(TfrmExample &window)
{
    std::vector<TextFit> fits;
    const auto add = [&](TextFit fit, const QString &key) {
        fit.key = key;
        fits.push_back(fit);
    };
    for (int step = 0; step <= TfrmExample::TourStepCount; ++step) {
        const QString key =
            step ? QStringLiteral("explain%1").arg(step) : QStringLiteral("description");
        add(paneFit(window.rtfExplanation, window.TranslateString(key)), key);
    }
    const QString settings = QStringLiteral("CommandLineSettings");
    add(paneFit(window.rtfExplanation, window.TranslateString(settings, {QStringLiteral("5")})),
        settings);
    const TfrmOwnSubstance *own = window.OwnSubstanceDialog();
    if (!own)
        return fits;
    const QStringList mz = {QStringLiteral("1234.5678")};
    for (const auto &[label, key] : {std::pair(own->LblMonoisotopic, "MonoisotopicMz"),
                                     std::pair(own->LblMostAbundant, "MostAbundantMz"),
                                     std::pair(own->LblMessage, "NominalLinesOnly")})
        add(labelFit(label, window.TranslateString(QString::fromLatin1(key), mz)),
            QString::fromLatin1(key));
    for (int kind = FormulaError::Empty; kind <= FormulaError::TooManyAtoms; ++kind) {
        const FormulaErrorMessage message =
            formulaErrorMessage({FormulaError::Kind(kind), 100, U"Xx"});
        add(labelFit(own->LblMessage, window.TranslateString(message.key, message.params)),
            message.key);
    }
    return fits;
}

// Both windows as the program shows them with FILE's texts, every tour text in the pane.
void measureWindows(const QString &path, const ZelI18n::ItlDictionary &file, DictionaryCheck &check)
{
    TfrmExample window(path);
    window.Timer1->stop();
    TFrmAbout about;
    TFrmAbout *const shownAbout = FrmAbout;
    FrmAbout = &about;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show(); // the start-up sequence fills in the About box; off the screen it stays hidden
    QCoreApplication::processEvents();
    for (QWidget *w : {static_cast<QWidget *>(&window), static_cast<QWidget *>(&about)})
        for (const TextFit &fit : fixedPlaceTexts(w))
            if (!fit.fits())
                reportTooLarge(file, fit, check);
    for (const TextFit &fit : runningTexts(window))
        if (!fit.fits())
            reportTooLarge(file, fit, check);
    FrmAbout = shownAbout;
}

QString counted(int n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

} // namespace

DictionaryCheck checkDictionary(const QString &path)
{
    DictionaryCheck check;
    const QFileInfo info(path);
    QFile input(path);
    if (!info.exists())
        check.error = QStringLiteral("cannot read the dictionary \"%1\": no such file").arg(path);
    else if (const QString problem = dictionaryFileProblem(info); !problem.isEmpty())
        check.error = problem;
    else if (!input.open(QIODevice::ReadOnly))
        check.error =
            QStringLiteral("cannot read the dictionary \"%1\": %2").arg(path, input.errorString());
    if (!check.error.isEmpty())
        return check;

    const ZelI18n::ItlDictionary english = parsed(referenceDictionary());
    const ZelI18n::ItlDictionary file = parsed(input.readAll());
    compareEntries(english, file, check);
    measureWindows(path, file, check);

    if (check.findings.isEmpty())
        check.summary =
            QStringLiteral("%1: every key of the English dictionary, all texts fit").arg(path);
    else
        check.summary =
            QStringLiteral("%1: %2, %3, %4, %5")
                .arg(path, counted(check.missing, "missing key", "missing keys"),
                     counted(check.unused, "unused entry", "unused entries"),
                     counted(check.tooLarge, "text too large", "texts too large"),
                     counted(check.lostPlaceholders, "lost placeholder", "lost placeholders"));
    return check;
}
