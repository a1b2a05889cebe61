// The program in its languages: the dictionaries translate every text of both windows and the
// texts fit their boxes, the language is chosen by option and locale, and the start-up
// sequence fills in and shows the About box.

#include "app/AboutBox.h"
#include "app/Language.h"
#include "app/TfrmExample.h"
#include "hostlink/WendralDemon.h"
#include "platform/Controls.h"
#include "widgets/Zel_NumLab.h"
#include "widgets/Zel_urllab.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

const QString dictionaryDir = QStringLiteral(IONOGRAPH_DICTIONARY_DIR);

// The main window and the About box as the entry builds them.
struct Program
{
    explicit Program(const QString &dictionary) : window(dictionary)
    {
        FrmAbout = &about;
        window.Timer1->stop();
    }
    ~Program() { FrmAbout = nullptr; }
    TfrmExample window;
    TFrmAbout about;
};

QString writeDictionary(const QTemporaryDir &dir, const QByteArray &entries)
{
    const QString path = dir.filePath(QStringLiteral("test.itl"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(entries);
    return path;
}

// Every text the dictionary decides, with the widget that shows it; the box's fixed lines and
// the texts that the start-up sequence writes in are not among them.
void checkTranslatedAndFitting(QWidget *window, const QStringList &values)
{
    static const QStringList setInCode = {"LblName",      "LblVersion", "LblAuthor",
                                          "LblCopyright", "LblWebSite", "LblDescription"};
    EXPECT_TRUE(values.contains(window->windowTitle())) << window->windowTitle().toStdString();
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const std::string name = w->objectName().toStdString();
        if (setInCode.contains(w->objectName()))
            continue;
        QString text;
        int room = w->width();
        QFontMetrics metrics = w->fontMetrics();
        if (auto *label = qobject_cast<QLabel *>(w))
            text = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            text = button->text();
            EXPECT_LE(button->sizeHint().width(), room) << name;
        } else if (auto *readout = qobject_cast<TNumLab *>(w)) {
            text = readout->LeftText();
            room = readout->LeftSpace();
            metrics = QFontMetrics(readout->Font()->toQFont());
        } else if (auto *link = qobject_cast<TUrlLab *>(w)) {
            text = link->Caption();
            metrics = QFontMetrics(link->FontActive()->toQFont());
        } else if (auto *pane = qobject_cast<QTextEdit *>(w)) {
            // The raw text keeps the no-break spaces that the plain text turns into blanks.
            EXPECT_TRUE(values.contains(pane->document()->toRawText())) << name;
            continue;
        }
        if (text.isEmpty())
            continue;
        EXPECT_FALSE(text.startsWith("BF_")) << name;
        EXPECT_TRUE(values.contains(text)) << name << ": " << text.toStdString();
        EXPECT_LE(metrics.horizontalAdvance(text), room) << name << ": " << text.toStdString();
    }
}

} // namespace

TEST(Dictionaries, TranslateEveryTextOfBothWindowsAndTheTextsFit)
{
    for (const char *file : {"ionograph.itl", "ionograph.de.itl"}) {
        SCOPED_TRACE(file);
        Program program(dictionaryDir + QLatin1Char('/') + QLatin1String(file));
        TfrmExample &w = program.window;
        const QStringList values = w.cliDemon->Engine().Values();
        ASSERT_GT(values.size(), 20);
        EXPECT_TRUE(values.contains(w.rtfExplanation->toPlainText())) << "the text before the tour";
        w.setAttribute(Qt::WA_DontShowOnScreen);
        w.show(); // runs the start-up sequence, without the modal box
        checkTranslatedAndFitting(&w, values);
        checkTranslatedAndFitting(&program.about, values);
        for (int step = 1; step <= TfrmExample::TourStepCount; ++step) {
            w.TourStep(step);
            QCoreApplication::processEvents();
            EXPECT_EQ(w.rtfExplanation->document()->toRawText(),
                      w.TranslateString(QStringLiteral("explain%1").arg(step)));
            EXPECT_EQ(w.rtfExplanation->verticalScrollBar()->maximum(), 0)
                << "step " << step << " needs scrolling";
        }
        for (QLabel *label : {program.about.LblDescription, program.about.LblWebSite}) {
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(0, 0, label->width(), 1000), Qt::TextWordWrap, label->text());
            EXPECT_LE(needed.height(), label->height()) << label->objectName().toStdString();
        }
    }
}

TEST(Language, OptionThenLocaleThenTheDefaultDictionary)
{
    QTemporaryDir dir;
    for (const char *name : {"ionograph.itl", "ionograph.de.itl", "ionograph.pt_br.itl"})
        QFile(dir.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
    const QString exe = dir.filePath(QStringLiteral("ionograph"));
    struct Case
    {
        std::optional<QString> option;
        const char *lcAll, *lcMessages, *lang;
        const char *chosen; // null: an error
    } cases[] = {
        {{}, "", "", "", "ionograph.itl"},
        {{}, "", "", "de_DE.UTF-8", "ionograph.de.itl"},
        {{}, "", "de_CH.UTF-8@euro", "fr_FR", "ionograph.de.itl"},
        {{}, "C", "de_DE", "de_AT", "ionograph.itl"},
        {{}, "fr_FR.UTF-8", "de_DE", "", "ionograph.itl"},
        {{}, "POSIX", "", "", "ionograph.itl"},
        {"de", "", "", "fr_FR", "ionograph.de.itl"},
        {" DE ", "", "", "", "ionograph.de.itl"},
        {"pt_BR", "", "", "", "ionograph.pt_br.itl"},
        {"en", "", "", "de_DE", "ionograph.itl"},
        {"fr", "", "", "", nullptr},
        {"../ionograph", "", "", "", nullptr},
        {"", "", "", "", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.option.value_or("(none)").toStdString() + " " + c.lang);
        const auto environment = [&c](const char *name) {
            return QString::fromLatin1(qstrcmp(name, "LC_ALL") == 0        ? c.lcAll
                                       : qstrcmp(name, "LC_MESSAGES") == 0 ? c.lcMessages
                                       : qstrcmp(name, "LANG") == 0        ? c.lang
                                                                           : "");
        };
        const DictionaryChoice choice = chooseDictionary(exe, c.option, environment);
        if (c.chosen) {
            EXPECT_EQ(choice.path, dir.filePath(QLatin1String(c.chosen)));
            EXPECT_TRUE(choice.error.isEmpty());
        } else {
            EXPECT_TRUE(choice.path.isEmpty());
            EXPECT_TRUE(choice.error.contains("(languages: de, en, pt_br)"))
                << choice.error.toStdString();
        }
    }
}

TEST(Language, AnUnknownCodeEndsTheProgramWithOneLine)
{
    QTemporaryDir dir;
    QProcess process;
    process.start(qEnvironmentVariable("IONOGRAPH_BINARY"),
                  {"--language", "xx", "--snapshot", dir.filePath("never.png")});
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 2);
    const QString error = QString::fromLocal8Bit(process.readAllStandardError());
    EXPECT_TRUE(error.startsWith("ionograph: no dictionary for the language \"xx\""))
        << error.toStdString();
    EXPECT_EQ(error.count('\n'), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("never.png")));
}

TEST(AboutBox, HomePageLinkShownOnlyWithATranslatedCaption)
{
    struct Case
    {
        const char *entry; // the dictionary's home-page entry
        bool shown;
        int topZelSuite, topSimulations;
    } cases[] = {
        {"[HomePage]=Our page|$$", true, 8, 24},
        {"", false, 16, 32},
        {"[HomePage]=|$$", false, 16, 32},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry);
        QTemporaryDir dir;
        Program program(writeDictionary(dir, QByteArray(c.entry) + "[HomePageURL]=https://x|$$"));
        program.window.FormShow();
        TFrmAbout &about = program.about;
        for (int showing = 0; showing < 2; ++showing) {
            about.FormShow();
            EXPECT_EQ(about.UrlLabHomepage->Visible(), c.shown);
            EXPECT_EQ(about.UrlLabZelSuite->y(), c.topZelSuite);
            EXPECT_EQ(about.UrlLabSimulations->y(), c.topSimulations);
            EXPECT_EQ(about.UrlLabHomepage->y(), 40);
        }
        EXPECT_EQ(about.UrlLabHomepage->URL(), "https://x");
    }
}

TEST(StartUp, FillsTheAboutBoxInTheDictionarysLanguage)
{
    struct Case
    {
        const char *dictionary;
        const char *caption, *webSite, *description, *homePageURL;
    } cases[] = {
        {"ionograph.de.itl", "Info", "Mehr Informationen finden Sie auf folgenden Webseiten:",
         "Dieses Programm zeigt die Anzeige eines Massenspektrometers.",
         "https://de.wikipedia.org/wiki/Massendefekt"},
        {"ionograph.itl", "About", "More information can be found at the following Web sites:",
         "This program shows the display of a mass spectrometer.",
         "https://en.wikipedia.org/wiki/Mass_(mass_spectrometry)"},
        {"missing.itl", "About", "More information can be found at the following Web sites:",
         "This program shows the display of a mass spectrometer.", "HomePageURL"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dictionary);
        Program program(dictionaryDir + QLatin1Char('/') + QLatin1String(c.dictionary));
        program.window.FormShow();
        const TFrmAbout &about = program.about;
        EXPECT_EQ(program.window.CurrentTourStep(), 1);
        EXPECT_EQ(about.LblName->text(), "Ionograph");
        EXPECT_EQ(about.LblVersion->text(), "Version 1.1");
        EXPECT_EQ(about.Caption(), c.caption);
        EXPECT_EQ(about.LblWebSite->text(), c.webSite);
        EXPECT_TRUE(about.LblDescription->text().startsWith(c.description));
        EXPECT_EQ(about.UrlLabHomepage->URL(), c.homePageURL);
        EXPECT_TRUE(TUrlLab::isWebAddress(about.UrlLabZelSuite->URL()));
        EXPECT_TRUE(TUrlLab::isWebAddress(about.UrlLabSimulations->URL()));
    }
}

TEST(StartUp, AboutBoxIsModalOverThePaintedWindowWhileTheTraceUpdates)
{
    Program program(QStringLiteral("missing.itl"));
    TfrmExample &w = program.window;
    w.Timer1->start();
    int updatesAtFirstSight = -1;
    bool windowWasVisible = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != &program.about)
            return;
        if (updatesAtFirstSight < 0) {
            updatesAtFirstSight = w.updateCount();
            windowWasVisible = w.isVisible();
        } else if (w.updateCount() >= updatesAtFirstSight + 2) {
            program.about.BButOK->click();
        }
    });
    poll.start(20);
    w.show();
    QElapsedTimer clock;
    clock.start();
    while ((updatesAtFirstSight < 0 || program.about.isVisible()) && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_GE(updatesAtFirstSight, 1) << "the box was never shown modally";
    EXPECT_TRUE(windowWasVisible);
    EXPECT_FALSE(program.about.isVisible());
    EXPECT_GE(w.updateCount(), updatesAtFirstSight + 2);

    // The About button shows it again.
    poll.stop();
    bool shownAgain = false;
    QTimer::singleShot(50, &program.about, [&] {
        shownAgain = QApplication::activeModalWidget() == &program.about;
        program.about.BButOKClick();
    });
    w.BButAbout->click();
    EXPECT_TRUE(shownAgain);
    EXPECT_FALSE(program.about.isVisible());
}
