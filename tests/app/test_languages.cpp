// SPDX-License-Identifier: GPL-3.0-or-later
// The program in its languages: the dictionaries translate every text of both windows and the
// texts fit their boxes, the language is chosen by option and locale, and the start-up
// sequence fills in and shows the About box.

#include "app/AboutBox.h"
#include "app/DictionaryCheck.h"
#include "app/Language.h"
#include "app/TfrmExample.h"
#include "hostlink/WendralDemon.h"
#include "i18n/Zodavided2000.h"
#include "platform/Controls.h"
#include "platform/Shell.h"
#include "widgets/Zel_urllab.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
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

// Every text the dictionary decides fits its box and is the dictionary's; the box's fixed lines
// and the name and version that the start-up sequence writes in are not the dictionary's.
void checkTranslatedAndFitting(QWidget *window, const QStringList &values)
{
    static const QStringList setInCode = {"LblName", "LblVersion", "LblAuthor", "LblCopyright"};
    EXPECT_TRUE(values.contains(window->windowTitle())) << window->windowTitle().toStdString();
    for (const TextFit &fit : fixedPlaceTexts(window)) {
        const std::string what = fit.control.toStdString() + ": " + fit.text.toStdString();
        EXPECT_TRUE(fit.fits()) << what << " needs " << fit.needed << " px, has " << fit.room;
        if (setInCode.contains(fit.control))
            continue;
        EXPECT_FALSE(fit.text.startsWith("BF_")) << what;
        EXPECT_TRUE(values.contains(fit.text)) << what;
    }
}

// The dictionaries that the build puts beside the program.
QStringList shippedDictionaries()
{
    QStringList files = QDir(dictionaryDir).entryList({"ionograph*.itl"}, QDir::Files);
    for (QString &file : files)
        file = dictionaryDir + QLatin1Char('/') + file;
    return files;
}

} // namespace

TEST(Dictionaries, TranslateEveryTextOfBothWindowsAndTheTextsFit)
{
    const QStringList files = shippedDictionaries();
    ASSERT_EQ(files.size(), 5);
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        Program program(file);
        TfrmExample &w = program.window;
        const QStringList values = w.cliDemon->Engine().Values();
        ASSERT_GT(values.size(), 20);
        EXPECT_TRUE(values.contains(w.rtfExplanation->document()->toRawText()))
            << "the text before the tour";
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

TEST(Language, TheLocaleChoosesEachShippedLanguage)
{
    const QString exe = dictionaryDir + QStringLiteral("/ionograph");
    EXPECT_EQ(availableLanguages(exe), (QStringList{"de", "en", "es", "fr", "pt"}));
    const std::pair<const char *, const char *> cases[] = {
        {"fr_FR.UTF-8", "lgFrench"}, {"fr_CA", "lgFrench"},           {"es_ES.UTF-8", "lgSpanish"},
        {"es_MX", "lgSpanish"},      {"pt_BR.UTF-8", "lgPortuguese"}, {"pt_PT", "lgPortuguese"},
        {"de_AT.UTF-8", "lgGerman"}, {"it_IT.UTF-8", "lgEnglish"},
    };
    for (const auto &[locale, language] : cases) {
        SCOPED_TRACE(locale);
        const DictionaryChoice choice = chooseDictionary(exe, {}, [&](const char *name) {
            return qstrcmp(name, "LANG") == 0 ? QString::fromLatin1(locale) : QString();
        });
        ASSERT_TRUE(choice.error.isEmpty()) << choice.error.toStdString();
        QFile file(choice.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        TZodavided2000 engine;
        engine.LoadDictionary(file);
        EXPECT_EQ(engine.TranslateString("$dlglanguage$"), language);
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

// The box opens with OK focused; Tab visits the links that are shown, and Space or Return on a
// link opens its address as a click does.
TEST(AboutBox, TheKeyboardReachesAndOpensTheLinks)
{
    std::vector<QString> opened;
    Shell::ShellHandler previous = Shell::setHandler([&](const Shell::ShellRequest &request) {
        opened.push_back(request.file);
        return 33;
    });
    QTemporaryDir dir;
    Program program(writeDictionary(dir, "[HomePageURL]=https://home|$$"));
    program.window.FormShow();
    TFrmAbout &about = program.about;
    about.show();
    about.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    EXPECT_EQ(QApplication::focusWidget(), about.BButOK);
    const std::vector<std::pair<TUrlLab *, Qt::Key>> visits = {
        {about.UrlLabZelSuite, Qt::Key_Space}, {about.UrlLabSimulations, Qt::Key_Return}};
    for (const auto &[link, key] : visits) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), link) << link->objectName().toStdString();
        QTest::keyClick(link, key);
        ASSERT_FALSE(opened.empty());
        EXPECT_EQ(opened.back(), link->URL());
    }
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_TRUE(about.isVisible()) << "a key on a link does not close the box";
    // The hidden home-page link is passed over.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), about.BButOK);
    Shell::setHandler(std::move(previous));
}

TEST(StartUp, FillsTheAboutBoxInTheDictionarysLanguage)
{
    QTemporaryDir dir;
    // A dictionary without texts for the box: the program's German ones, as for "lgGerman".
    const QString olderGerman = writeDictionary(dir, "[$dlglanguage$]=lgGerman|$$");
    struct Case
    {
        QString dictionary;
        const char *caption, *webSite, *description, *homePageURL;
        const char *linkSite; // where the two fixed links lead
    } cases[] = {
        {"ionograph.de.itl", "Info", "Mehr Informationen finden Sie auf folgenden Webseiten:",
         "Dieses Programm zeigt die Anzeige eines Massenspektrometers.",
         "https://de.wikipedia.org/wiki/Massendefekt", "https://de.wikipedia.org/wiki/"},
        {"ionograph.itl", "About", "More information can be found at the following Web sites:",
         "This program shows the display of a mass spectrometer.",
         "https://en.wikipedia.org/wiki/Mass_(mass_spectrometry)",
         "https://en.wikipedia.org/wiki/"},
        {"ionograph.fr.itl", "À propos", "Pour en savoir plus, consultez les sites suivants\u202f:",
         "Ce programme montre l'affichage d'un spectromètre de masse.",
         "https://fr.wikipedia.org/wiki/D%C3%A9faut_de_masse", "https://fr.wikipedia.org/wiki/"},
        {"ionograph.es.itl", "Acerca de",
         "Encontrará más información en los siguientes sitios web:",
         "Este programa muestra la pantalla de un espectrómetro de masas.",
         "https://es.wikipedia.org/wiki/Defecto_de_masa", "https://es.wikipedia.org/wiki/"},
        {"ionograph.pt.itl", "Sobre", "Mais informações nos seguintes sites:",
         "Este programa mostra a tela de um espectrômetro de massas.",
         "https://pt.wikipedia.org/wiki/Defeito_de_massa", "https://pt.wikipedia.org/wiki/"},
        {"missing.itl", "About", "More information can be found at the following Web sites:",
         "This program shows the display of a mass spectrometer.", "HomePageURL",
         "https://en.wikipedia.org/wiki/"},
        {olderGerman, "About", "Mehr Informationen finden Sie auf folgenden Webseiten:",
         "Dieses Programm zeigt die Anzeige eines Massenspektrometers.", "HomePageURL",
         "https://de.wikipedia.org/wiki/"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dictionary.toStdString());
        Program program(QFileInfo(c.dictionary).isAbsolute()
                            ? c.dictionary
                            : dictionaryDir + QLatin1Char('/') + c.dictionary);
        program.window.FormShow();
        const TFrmAbout &about = program.about;
        EXPECT_EQ(program.window.CurrentTourStep(), 1);
        EXPECT_EQ(about.LblName->text(), "Ionograph");
        EXPECT_EQ(about.LblVersion->text(), "Version 1.1");
        EXPECT_EQ(about.Caption(), QString::fromUtf8(c.caption));
        EXPECT_EQ(about.LblWebSite->text(), QString::fromUtf8(c.webSite));
        EXPECT_TRUE(about.LblDescription->text().startsWith(QString::fromUtf8(c.description)));
        EXPECT_EQ(about.UrlLabHomepage->URL(), c.homePageURL);
        for (const TUrlLab *link : {about.UrlLabZelSuite, about.UrlLabSimulations}) {
            EXPECT_TRUE(TUrlLab::isWebAddress(link->URL()));
            EXPECT_TRUE(link->URL().startsWith(c.linkSite)) << link->URL().toStdString();
        }
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
