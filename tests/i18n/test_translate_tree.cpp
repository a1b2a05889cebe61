// SPDX-License-Identifier: GPL-3.0-or-later
// Translating component trees (the main window, a chart's axis records, string lists, text
// panes, collections) and the translator's dictionary file.

#include "app/TfrmExample.h"
#include "chart/Zel_rchart.h"
#include "i18n/Zodavided2000.h"
#include "i18n_test_objects.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "scales/Zel_zelbase.h"
#include "widgets/Zel_NumLab.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

void load(TZodavided2000 &engine, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    engine.LoadDictionary(buffer);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Runs the body with the current directory set to a fresh temporary folder.
struct InTemporaryDirectory
{
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    InTemporaryDirectory() { QDir::setCurrent(dir.path()); }
    ~InTemporaryDirectory() { QDir::setCurrent(previous); }
};

} // namespace

TEST(TranslateComponent, MainWindowWithoutDictionaryShowsItsKeysWithoutThePrefix)
{
    TfrmExample form(QStringLiteral("no-such-dictionary.itl"));
    EXPECT_EQ(form.Caption(), "Ionograph");
    EXPECT_EQ(form.Label8->Caption(), "coarse");
    EXPECT_EQ(form.NLabResol->LeftText(), "Resolution");
    EXPECT_EQ(form.rtfExplanation->toPlainText(), "description");
    EXPECT_EQ(form.objectName(), "frmExample");

    // The window's host link translated everything it owns: a second walk finds no key left.
    TZodavided2000 engine;
    engine.SetAutoCreateItlFile(true);
    engine.TranslateComponent(&form);
    EXPECT_TRUE(engine.MissingEntries().isEmpty())
        << engine.MissingEntries().join(' ').toStdString();
    engine.SetAutoCreateItlFile(false);
}

TEST(TranslateComponent, MainWindowTakesTheDictionarysTexts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ionograph.itl"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[ionograph]=Ionograf|$$\r\n[NEXT]=Weiter|$$\r\n[resolution]=Aufl\xc3\xb6sung|$$"
               "\r\n[Substances]=Stoffe|$$\r\n[description]=Erste Zeile\\nZweite Zeile|$$");
    file.close();
    TfrmExample form(path);
    EXPECT_EQ(form.Caption(), "Ionograf");
    EXPECT_EQ(form.windowTitle(), "Ionograf");
    EXPECT_EQ(form.BButNext->Caption(), "Weiter");
    EXPECT_EQ(form.BButNext->text(), "Weiter");
    EXPECT_EQ(form.NLabResol->LeftText(), QString("Aufl\u00f6sung"));
    EXPECT_EQ(form.Label5->Caption(), "Stoffe");
    EXPECT_EQ(form.cmdExit->Caption(), "Exit");
    EXPECT_EQ(form.rtfExplanation->toPlainText(), "Erste Zeile\nZweite Zeile");
    EXPECT_EQ(form.rtfExplanation->document()->blockCount(), 2);
}

TEST(TranslateObject, OnlyValuesWithTheExactPrefixAreKeys)
{
    TPanel panel;
    panel.setObjectName("BF_Panel");
    auto *exact = new TLabel(&panel);
    exact->SetCaption("BF_");
    auto *lower = new TLabel(&panel);
    lower->SetCaption("bf_Next");
    auto *inner = new TLabel(&panel);
    inner->SetCaption(" BF_Next");
    auto *tip = new TBitBtn(&panel);
    tip->SetCaption("BF_Next");
    tip->setToolTip("BF_Exit");

    TZodavided2000 engine;
    load(engine, "[next]=Weiter|$$[exit]=Ende|$$[bf_panel]=wrong|$$");
    engine.TranslateComponent(&panel);
    EXPECT_EQ(panel.objectName(), "BF_Panel") << "the name is never translated";
    EXPECT_EQ(exact->Caption(), "") << "the empty key without entry gives the empty text";
    EXPECT_EQ(lower->Caption(), "bf_Next");
    EXPECT_EQ(inner->Caption(), " BF_Next");
    EXPECT_EQ(tip->Caption(), "Weiter");
    EXPECT_EQ(tip->toolTip(), "Ende") << "every published text property takes part";
}

TEST(TranslateObject, StringListsCollectionsAndReferences)
{
    TTestComponent component;
    component.SetName("BF_Next");
    component.SetHint("BF_Next");
    component.SetLines({"BF_Next", "plain", "BF_Exit", "bf_Next", "BF_Missing"});
    component.linesWritten = 0;
    component.Other()->SetTitle("BF_Next");
    auto *first = new TTestItem(&component);
    first->SetTitle("BF_Exit");
    auto *second = new TTestItem(&component);
    second->SetTitle("BF_Next");
    component.m_items = {first, second};

    TZodavided2000 engine;
    load(engine, "[next]=Weiter|$$[exit]=Ende|$$");
    engine.SetAutoCreateItlFile(true);
    QList<QObject *> visited;
    engine.OnTranslateObject = [&](TZodavided2000 *, QObject *object, bool &) {
        visited << object;
    };
    engine.TranslateObject(&component);

    EXPECT_EQ(component.Name(), "BF_Next") << "a property called Name is the name";
    EXPECT_EQ(component.Hint(), "Weiter");
    EXPECT_EQ(component.Lines(), QStringList({"Weiter", "plain", "Ende", "bf_Next", "Missing"}));
    EXPECT_EQ(component.linesWritten, 1);
    EXPECT_EQ(first->Title(), "Ende");
    EXPECT_EQ(second->Title(), "Weiter");
    EXPECT_EQ(component.Other()->Title(), "BF_Next") << "other sub-objects are left alone";
    EXPECT_EQ(visited, QList<QObject *>({&component, first, second}));
    // Lines are walked from the last to the first; the read-only text is not looked up.
    EXPECT_EQ(engine.MissingEntries(), QStringList({"[Missing]=Missing|$$"}));
    engine.SetAutoCreateItlFile(false);
}

TEST(TranslateComponent, SkippedObjectsStillHaveTheirComponentsTranslated)
{
    TPanel panel;
    panel.SetCaption("BF_Next");
    auto *label = new TLabel(&panel);
    label->SetCaption("BF_Next");
    TZodavided2000 engine;
    load(engine, "[next]=Weiter|$$");
    engine.OnTranslateObject = [&](TZodavided2000 *sender, QObject *object, bool &translate) {
        EXPECT_EQ(sender, &engine);
        EXPECT_TRUE(translate);
        translate = object != &panel;
    };
    engine.TranslateComponent(&panel);
    EXPECT_EQ(panel.Caption(), "BF_Next");
    EXPECT_EQ(label->Caption(), "Weiter");
}

TEST(TranslateComponent, ChartAxisRecordsButNotItsOtherSubObjects)
{
    TRChart chart;
    chart.SetCaption("BF_Next");
    chart.Scale1X()->SetCaption("BF_Mass");
    chart.Scale4Y()->SetScaleInscript("BF_Next");
    chart.LayerScaleX(5)->SetCaption("BF_Mass"); // no published property leads here
    chart.TextLabel(1)->SetCaption("BF_Next");
    TZodavided2000 engine;
    load(engine, "[next]=Weiter|$$[mass]=Masse|$$");
    engine.TranslateComponent(&chart);
    EXPECT_EQ(chart.Caption(), "Weiter");
    EXPECT_EQ(chart.Scale1X()->Caption(), "Masse");
    EXPECT_EQ(chart.Scale4Y()->ScaleInscript(), "Weiter");
    EXPECT_EQ(chart.LayerScaleX(5)->Caption(), "BF_Mass");
    EXPECT_EQ(chart.TextLabel(1)->Caption(), "BF_Next");
}

TEST(TranslateObject, TextPaneLinesChangeInPlace)
{
    QTextEdit pane;
    pane.setPlainText("BF_Next\nfree text BF_Next\nBF_Exit\nBF_Two");
    TZodavided2000 engine;
    load(engine, "[next]=Weiter|$$[two]=A\\nB|$$");
    engine.TranslateObject(&pane);
    EXPECT_EQ(pane.toPlainText(), "Weiter\nfree text BF_Next\nExit\nA\nB");
}

TEST(TranslateObject, ATextPaneIsWalkedOnce)
{
    // The pane publishes its document twice (as html and as document); a translation that
    // begins with the prefix must not be looked up again.
    QTextEdit pane;
    pane.setPlainText("BF_a");
    TZodavided2000 engine;
    load(engine, "[a]=BF_b|$$[b]=wrong|$$");
    int hooks = 0;
    engine.OnStringTranslated = [&](TZodavided2000 *, const QString &, QString &) { ++hooks; };
    engine.TranslateObject(&pane);
    EXPECT_EQ(pane.toPlainText(), "BF_b");
    EXPECT_EQ(hooks, 1);
}

TEST(TranslateObject, TwoPropertiesOfOneTextAreTranslatedOnce)
{
    // A label's text and Caption are the same text; the second must not translate the
    // first one's result.
    TLabel label;
    label.SetCaption("BF_a");
    TZodavided2000 engine;
    load(engine, "[a]=BF_b|$$");
    engine.SetAutoCreateItlFile(true);
    engine.TranslateObject(&label);
    EXPECT_EQ(label.Caption(), "BF_b");
    EXPECT_TRUE(engine.MissingEntries().isEmpty());
    engine.SetAutoCreateItlFile(false);
}

TEST(TranslateComponent, CollectionItemsAreNotAlsoWalkedAsComponents)
{
    TTestComponent component;
    auto *first = new TTestItem(&component);
    auto *second = new TTestItem(&component);
    component.m_items = {first, second};
    TZodavided2000 engine;
    QList<QObject *> visited;
    engine.OnTranslateObject = [&](TZodavided2000 *, QObject *object, bool &) {
        visited << object;
    };
    engine.TranslateComponent(&component);
    EXPECT_EQ(visited, QList<QObject *>({&component, first, second}));
}

TEST(ItlFile, MissingKeysThenEveryEntryWithCrLf)
{
    TZodavided2000 engine("Demo");
    load(engine, "[Next]=Weiter|$$\r\n[two  words]=Zeile 1\\nZeile 2 <%appname%>|$$"
                 "[next]=second|$$");
    engine.SetAutoCreateItlFile(true);
    engine.TranslateString("Zoom");
    engine.TranslateString("next");

    QTemporaryDir dir;
    const QString path = dir.filePath("out.itl");
    engine.SaveItlFile(path);
    const QByteArray expected = "[Zoom]=Zoom|$$\r\n"
                                "[next]=Weiter|$$\r\n"
                                "[two words]=Zeile 1\\nZeile 2 Demo|$$\r\n"
                                "[next]=second|$$\r\n";
    EXPECT_EQ(readFile(path), expected);

    // The written file loads into the same dictionary.
    TZodavided2000 again("Other");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    again.LoadDictionary(file);
    EXPECT_EQ(again.Keys(), QStringList({"zoom", "next", "two words", "next"}));
    EXPECT_EQ(again.Values(), QStringList({"Zoom", "Weiter", "Zeile 1\r\nZeile 2 Demo", "second"}));
    engine.SetAutoCreateItlFile(false);
}

TEST(ItlFile, WrittenOnDestructionIntoTheCurrentDirectoryOnlyWhenAsked)
{
    InTemporaryDirectory here;
    const QString name = TZodavided2000::ItlFileName();
    EXPECT_EQ(name, "test_i18n.itl");
    {
        TZodavided2000 engine;
        engine.TranslateString("quiet");
    }
    EXPECT_FALSE(QFile::exists(name));

    QFile old(name);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older, longer file that must be replaced entirely\r\n");
    old.close();
    {
        TZodavided2000 engine;
        load(engine, "[a]=b|$$");
        engine.SetAutoCreateItlFile(true);
        engine.TranslateString("Exit");
    }
    EXPECT_EQ(readFile(name), QByteArray("[Exit]=Exit|$$\r\n[a]=b|$$\r\n"));
}

TEST(ItlFile, AFileThatCannotBeWrittenIsReported)
{
    QTemporaryDir dir;
    TZodavided2000 engine;
    EXPECT_THROW(engine.SaveItlFile(dir.path()), EZelError) << "a folder is no file";
    EXPECT_THROW(engine.SaveItlFile(dir.filePath("no/such/folder/x.itl")), EZelError);

    // The destructor cannot raise; it shows the error instead.
    InTemporaryDirectory here;
    QDir().mkdir(TZodavided2000::ItlFileName()); // a folder in the way of the file
    QStringList shown;
    const MessageBoxHandler previous =
        setMessageBoxHandler([&](MessageKind kind, const QString &text) {
            EXPECT_EQ(kind, MessageKind::Error);
            shown << text;
        });
    {
        TZodavided2000 failing;
        failing.SetAutoCreateItlFile(true);
    }
    setMessageBoxHandler(previous);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Cannot create file \"test_i18n.itl\""))
        << shown[0].toStdString();
}
