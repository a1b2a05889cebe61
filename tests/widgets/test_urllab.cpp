// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Shell.h"
#include "test_support.h"
#include "widgets/Zel_urllab.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <vector>

namespace {

int countColor(const QImage &image, TColor color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += pixelAt(image, x, y) == colorToRgb(color);
    return n;
}

// The bounding box of the pixels that differ from the background colour.
QRect inkBox(const QImage &image, TColor background)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pixelAt(image, x, y) != colorToRgb(background))
                box |= QRect(x, y, 1, 1);
    return box;
}

void setFont(TFont *font, const QString &name, TFontStyles style, TColor color)
{
    font->SetName(name);
    font->SetHeight(-13);
    font->SetStyle(style);
    font->SetColor(color);
}

// A label as the window-building function makes one: loading, its stored values, loaded().
void loadLabel(TUrlLab &lab, const QString &name)
{
    lab.beginLoading();
    lab.setObjectName(name);
    lab.SetAutoSize(false);
    lab.setGeometry(0, 0, 200, 16);
    lab.SetCaption(QStringLiteral("Link"));
    lab.SetColor(clWhite);
    setFont(lab.Font(), QStringLiteral("Courier New"), Gfx::fsBold, clBlue);
    setFont(lab.FontActive(), QStringLiteral("Courier New"), Gfx::fsBold | Gfx::fsUnderline, clRed);
    lab.loaded();
}

// Records every shell request instead of carrying it out.
class UrlLabClick : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = Shell::setHandler([this](const Shell::ShellRequest &request) {
            requests.push_back(request);
            cursorDuringRequest = lab.Cursor();
            return result;
        });
        loadLabel(lab, QStringLiteral("UrlLabHomepage"));
        lab.OnClick = [this](QObject *) { ++clicks; };
    }
    void TearDown() override { Shell::setHandler(std::move(m_previous)); }

    // The message of the error a click raises, or "" when it raises none.
    std::string clickError()
    {
        try {
            lab.Click();
        } catch (const EZelURLLabError &error) {
            return error.what();
        }
        return {};
    }

    void sendMouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QMouseEvent event(type, QPointF(at), lab.mapToGlobal(QPointF(at)), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&lab, &event);
    }

    TUrlLab lab;
    std::vector<Shell::ShellRequest> requests;
    int result = 42;
    int cursorDuringRequest = 0;
    int clicks = 0;

private:
    Shell::ShellHandler m_previous;
};

} // namespace

// ---- properties --------------------------------------------------------------------------------

TEST(UrlLab, PublishedPropertiesWithTheirDefaultsInOrder)
{
    TUrlLab lab;
    expectPublishedProperties(lab, QWidget::staticMetaObject,
                              {{"Align"},
                               {"Alignment", QVariant::fromValue(Zel::taLeftJustify)},
                               {"Anchors"},
                               {"Constraints"},
                               {"AutoSize", true},
                               {"Caption"},
                               {"Color"},
                               {"Enabled", true},
                               {"Font"},
                               {"FontActive"},
                               {"ParentColor", true},
                               {"ParentFont", true},
                               {"ParentShowHint"},
                               {"PopupMenu"},
                               {"ShowHint"},
                               {"Transparent", false},
                               {"URL", QString()},
                               {"TaskParams", QString()},
                               {"Layout", QVariant::fromValue(ZelUL::tlTop)},
                               {"Visible"},
                               {"WordWrap", false}});
    EXPECT_EQ(lab.Cursor(), Screen::crDefault);
    EXPECT_EQ(lab.FontActive()->data(), lab.Font()->data());
    // An empty caption still gives the automatically sized label the size of one blank.
    EXPECT_GT(lab.width(), 0);
    EXPECT_GT(lab.height(), 0);
}

TEST(UrlLab, SettersTrimBlanksOnlyAndCopyFonts)
{
    TUrlLab lab;
    lab.SetURL(QStringLiteral("   http://example.org/a b  "));
    EXPECT_EQ(lab.URL(), QStringLiteral("http://example.org/a b"));
    lab.SetTaskParams(QStringLiteral("\t-x  "));
    EXPECT_EQ(lab.TaskParams(), QStringLiteral("\t-x"));
    lab.setProperty("URL", QStringLiteral("  "));
    EXPECT_TRUE(lab.URL().isEmpty());

    TFont source;
    setFont(&source, QStringLiteral("Arial"), Gfx::fsItalic, clMaroon);
    lab.SetFontActive(&source);
    EXPECT_EQ(lab.FontActive()->data(), source.data());
    source.SetColor(clGreen);
    EXPECT_EQ(lab.FontActive()->Color(), clMaroon);

    lab.SetFont(&source);
    EXPECT_FALSE(lab.ParentFont());
    lab.SetColor(clYellow);
    EXPECT_FALSE(lab.ParentColor());
}

TEST(UrlLab, FollowsTheParentsColourAndFontUntilSetItself)
{
    QWidget parent;
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(10, 20, 30));
    parent.setPalette(palette);
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(20);
    font.setBold(true);
    parent.setFont(font);

    TUrlLab lab(&parent);
    EXPECT_EQ(lab.Color(), rgbColor(10, 20, 30));
    EXPECT_EQ(lab.Font()->Height(), -20);
    EXPECT_TRUE(lab.Font()->Style().testFlag(Gfx::fsBold));
    palette.setColor(QPalette::Window, QColor(40, 50, 60));
    parent.setPalette(palette);
    EXPECT_EQ(lab.Color(), rgbColor(40, 50, 60));
    EXPECT_TRUE(lab.ParentColor());

    lab.SetColor(clWhite);
    palette.setColor(QPalette::Window, QColor(1, 2, 3));
    parent.setPalette(palette);
    EXPECT_EQ(lab.Color(), clWhite);
}

TEST(UrlLab, AutoSizeFitsTheCaptionAndKeepsTheRightEdgeOfRightAlignedLabels)
{
    TUrlLab lab;
    lab.SetCaption(QStringLiteral("A&B"));
    const QSize withAmpersand = lab.size();
    lab.SetCaption(QStringLiteral("AB"));
    // The ampersand is shown, not taken as an accelerator marker.
    EXPECT_GT(withAmpersand.width(), lab.width());
    EXPECT_EQ(lab.size(), lab.textExtent());

    lab.SetAlignment(Zel::taRightJustify);
    lab.move(100, 5);
    const int right = lab.geometry().right();
    lab.SetCaption(QStringLiteral("A much longer caption"));
    EXPECT_EQ(lab.geometry().right(), right);
    EXPECT_LT(lab.x(), 100);

    lab.Constraints()->SetMaxWidth(30);
    EXPECT_EQ(lab.width(), 30);
    lab.Constraints()->SetMaxWidth(-5);
    EXPECT_EQ(lab.Constraints()->MaxWidth(), 0);
    EXPECT_EQ(lab.size(), lab.textExtent());
}

TEST(UrlLab, WordWrapBreaksAtBlanksWithinTheWidth)
{
    TUrlLab lab;
    lab.SetAutoSize(false);
    lab.resize(60, 100);
    lab.SetCaption(QStringLiteral("one two three four\nfive"));
    EXPECT_EQ(lab.textLines().size(), 2);
    lab.SetWordWrap(true);
    const QStringList lines = lab.textLines();
    ASSERT_GT(lines.size(), 2);
    EXPECT_EQ(lines.last(), QStringLiteral("five"));
    EXPECT_EQ(lines.join(QLatin1Char(' ')), QStringLiteral("one two three four five"));

    // AutoSize with WordWrap keeps the width and fits the height to the lines.
    lab.SetAutoSize(true);
    EXPECT_EQ(lab.width(), 60);
    EXPECT_EQ(lab.height(), lab.textExtent().height());
    EXPECT_EQ(lab.height() % lines.size(), 0);
}

// ---- fonts under the mouse ---------------------------------------------------------------------

TEST(UrlLab, MouseOverShowsFontActiveAndLeavingRestoresTheLoadTimeFont)
{
    TUrlLab lab;
    loadLabel(lab, QStringLiteral("Lab"));
    const FontData normal = lab.Font()->data();
    int enters = 0;
    int leaves = 0;
    lab.OnMouseEnter = [&](QObject *) { ++enters; };
    lab.OnMouseLeave = [&](QObject *) { ++leaves; };

    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(&lab, &enter);
    EXPECT_EQ(lab.Font()->data(), lab.FontActive()->data());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&lab, &leave);
    EXPECT_EQ(lab.Font()->data(), normal);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);

    // A change made after loading lasts until the mouse next leaves.
    lab.Font()->SetColor(clGreen);
    lab.MouseEnter();
    lab.MouseLeave();
    EXPECT_EQ(lab.Font()->data(), normal);
}

TEST(UrlLab, DisabledLabelKeepsItsNormalFont)
{
    TUrlLab lab;
    loadLabel(lab, QStringLiteral("Lab"));
    const FontData normal = lab.Font()->data();
    int enters = 0;
    lab.OnMouseEnter = [&](QObject *) { ++enters; };
    lab.SetEnabled(false);
    lab.MouseEnter();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(lab.Font()->data(), normal);
    lab.MouseLeave();
    EXPECT_EQ(lab.Font()->data(), normal);

    // Disabled while it showed the active font: leaving still restores the normal one.
    lab.SetEnabled(true);
    lab.MouseEnter();
    lab.SetEnabled(false);
    lab.MouseLeave();
    EXPECT_EQ(lab.Font()->data(), normal);
}

TEST(UrlLab, LabelMadeInCodeKeepsItsOwnFontAfterTheMouseLeaves)
{
    TUrlLab lab;
    setFont(lab.Font(), QStringLiteral("Arial"), Gfx::fsItalic, clMaroon);
    setFont(lab.FontActive(), QStringLiteral("Arial"), Gfx::fsUnderline, clRed);
    const FontData own = lab.Font()->data();
    lab.MouseEnter();
    lab.MouseEnter(); // a repeated enter must not take the active font as the normal one
    EXPECT_EQ(lab.Font()->Color(), clRed);
    lab.MouseLeave();
    EXPECT_EQ(lab.Font()->data(), own);
}

// ---- pictures ----------------------------------------------------------------------------------

TEST(UrlLab, PictureShowsNormalHoverAndDisabledLooks)
{
    TUrlLab lab;
    loadLabel(lab, QStringLiteral("Lab"));
    QImage image = lab.picture();
    ASSERT_EQ(image.size(), QSize(200, 16));
    EXPECT_EQ(pixelAt(image, 199, 15), clWhite);
    const int blueInk = countColor(image, clBlue);
    EXPECT_GT(blueInk, 10);
    EXPECT_EQ(countColor(image, clRed), 0);

    lab.MouseEnter();
    image = lab.picture();
    EXPECT_EQ(countColor(image, clBlue), 0);
    // Underlined: more ink than the same text without the line.
    EXPECT_GT(countColor(image, clRed), blueInk);
    lab.MouseLeave();

    lab.SetColor(clYellow);
    lab.SetEnabled(false);
    image = lab.picture();
    EXPECT_EQ(countColor(image, clBlue), 0);
    EXPECT_GT(countColor(image, clBtnShadow), 10);
    // The embossed copy in the highlight colour lies one pixel right of and below the grey
    // text, so the ink reaches one column and one row further.
    EXPECT_GT(countColor(image, clBtnHighlight), 10);
    const QRect ink = inkBox(image, clYellow);
    QImage enabled;
    lab.SetEnabled(true);
    enabled = lab.picture();
    const QRect enabledInk = inkBox(enabled, clYellow);
    EXPECT_EQ(ink.topLeft(), enabledInk.topLeft());
    EXPECT_EQ(ink.size(), enabledInk.size() + QSize(1, 1));
}

TEST(UrlLab, AlignmentAndLayoutPlaceTheText)
{
    TUrlLab lab;
    loadLabel(lab, QStringLiteral("Lab"));
    lab.resize(200, 60);
    const QRect topLeft = inkBox(lab.picture(), clWhite);
    EXPECT_LT(topLeft.left(), 3);
    EXPECT_LT(topLeft.top(), 8);

    lab.SetAlignment(Zel::taRightJustify);
    lab.SetLayout(ZelUL::tlBottom);
    const QRect bottomRight = inkBox(lab.picture(), clWhite);
    EXPECT_GT(bottomRight.right(), 190);
    EXPECT_GT(bottomRight.bottom(), 50);
    EXPECT_EQ(bottomRight.size(), topLeft.size());

    lab.SetAlignment(Zel::taCenter);
    lab.SetLayout(ZelUL::tlCenter);
    const QRect centre = inkBox(lab.picture(), clWhite);
    EXPECT_NEAR(centre.center().x(), 100, 3);
    EXPECT_NEAR(centre.center().y(), 30, 6);
}

TEST(UrlLab, TransparentLabelLeavesAllButTheTextClear)
{
    TUrlLab lab;
    loadLabel(lab, QStringLiteral("Lab"));
    lab.SetTransparent(true);
    const QImage &image = lab.picture();
    EXPECT_EQ(qAlpha(image.pixel(199, 15)), 0);
    int opaqueBlue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaqueBlue += image.pixel(x, y) == qRgba(0, 0, 255, 255);
    EXPECT_GT(opaqueBlue, 10);
}

// ---- the click ---------------------------------------------------------------------------------

TEST(UrlLab, FileExtensionFollowsTheLastSeparator)
{
    EXPECT_EQ(TUrlLab::fileExtension(QStringLiteral("/opt/a.b/tool.EXE")), QStringLiteral(".EXE"));
    EXPECT_EQ(TUrlLab::fileExtension(QStringLiteral("C:\\dir.x\\tool")), QString());
    EXPECT_EQ(TUrlLab::fileExtension(QStringLiteral("dir.x/tool")), QString());
    EXPECT_EQ(TUrlLab::fileExtension(QStringLiteral("c.exe:tool")), QString());
    EXPECT_EQ(TUrlLab::fileExtension(QStringLiteral("tool.tar.exe")), QStringLiteral(".exe"));
    EXPECT_EQ(TUrlLab::fileExtension(QStringLiteral("noext")), QString());
}

TEST_F(UrlLabClick, WebAddressOpensUnderTheHourglassWhateverTheResult)
{
    lab.SetCursor(Screen::crHandPoint);
    lab.SetURL(QStringLiteral(" HTTP://Example.org/Page "));
    result = 2; // a failing shell is not reported for web addresses
    EXPECT_EQ(clickError(), "");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].file, QStringLiteral("HTTP://Example.org/Page"));
    EXPECT_TRUE(requests[0].verb.isEmpty());
    EXPECT_TRUE(requests[0].parameters.isEmpty());
    EXPECT_EQ(cursorDuringRequest, Screen::crHourGlass);
    EXPECT_EQ(lab.Cursor(), Screen::crHandPoint);
    EXPECT_EQ(clicks, 1);

    // A web address ending in ".exe" is still a web address, and so is a secure one.
    for (const char *url :
         {"http://example.org/setup.exe", "https://example.org/a", "HTTPS://Example.org/B"}) {
        lab.SetURL(QString::fromLatin1(url));
        lab.Click();
        EXPECT_EQ(requests.back().file, QString::fromLatin1(url));
        EXPECT_TRUE(requests.back().verb.isEmpty()) << url;
    }
    EXPECT_EQ(requests.size(), 4u);
}

TEST_F(UrlLabClick, AddressesWithoutTheWebPrefixAreInvalidUnlessAProgram)
{
    const std::string invalid = "Component \"UrlLabHomepage\": URL of URLLab is invalid";
    for (const char *url : {"httpss://example.org", "https:/example.org", "www.example.org",
                            "ftp://example.org/x", "/usr/bin/tool", "C:\\tools.exe\\run"}) {
        lab.SetURL(QString::fromLatin1(url));
        EXPECT_EQ(clickError(), invalid) << url;
    }
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(clicks, 0);

    lab.SetURL(QString());
    EXPECT_EQ(clickError(), "");
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(clicks, 1);
}

TEST_F(UrlLabClick, ProgramStartsWithItsParametersAndFailuresNameTheResult)
{
    lab.SetURL(QStringLiteral("  /opt/tools/Setup.EXE  "));
    lab.SetTaskParams(QStringLiteral(" -lang de  "));
    EXPECT_EQ(lab.URL(), QStringLiteral("/opt/tools/Setup.EXE"));
    EXPECT_EQ(clickError(), "");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].verb, QStringLiteral("open"));
    EXPECT_EQ(requests[0].file, QStringLiteral("/opt/tools/Setup.EXE"));
    EXPECT_EQ(requests[0].parameters, QStringLiteral("-lang de"));
    EXPECT_EQ(clicks, 1);

    result = 33;
    EXPECT_EQ(clickError(), "");
    result = -1; // counts as success
    EXPECT_EQ(clickError(), "");
    EXPECT_EQ(clicks, 3);

    for (int failure : {32, 2, 0, -2}) {
        result = failure;
        EXPECT_EQ(clickError(), "Component \"UrlLabHomepage\": Cannot start executable (errnum=" +
                                    std::to_string(failure) + ")");
    }
    EXPECT_EQ(clicks, 3);
}

TEST_F(UrlLabClick, MouseClickOpensOnceAndOnlyForALeftPressReleasedOverTheLabel)
{
    lab.SetURL(QStringLiteral("http://example.org"));
    std::vector<std::string> order;
    lab.OnMouseUp = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        order.push_back("up");
    };
    lab.OnClick = [&](QObject *) { order.push_back("click"); };

    sendMouse(QEvent::MouseButtonPress, QPoint(5, 5));
    sendMouse(QEvent::MouseButtonRelease, QPoint(6, 6));
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(order, (std::vector<std::string>{"up", "click"}));

    sendMouse(QEvent::MouseButtonPress, QPoint(5, 5));
    sendMouse(QEvent::MouseButtonRelease, QPoint(500, 5));
    sendMouse(QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton);
    sendMouse(QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton);
    EXPECT_EQ(requests.size(), 1u);

    // A double click is one click and a double-click event.
    int doubles = 0;
    lab.OnDblClick = [&](QObject *) { ++doubles; };
    sendMouse(QEvent::MouseButtonPress, QPoint(5, 5));
    sendMouse(QEvent::MouseButtonRelease, QPoint(5, 5));
    sendMouse(QEvent::MouseButtonDblClick, QPoint(5, 5));
    sendMouse(QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_EQ(doubles, 1);
}

TEST(UrlLab, ContextPopupHandlerCanKeepTheMenuClosed)
{
    TUrlLab lab;
    QMenu menu;
    menu.addAction(QStringLiteral("Copy"));
    lab.SetPopupMenu(&menu);
    QPoint reported;
    lab.OnContextPopup = [&](QObject *, QPoint at, bool &handled) {
        reported = at;
        handled = true;
    };
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 5), QPoint(4, 5));
    QCoreApplication::sendEvent(&lab, &event);
    EXPECT_EQ(reported, QPoint(4, 5));
    EXPECT_TRUE(event.isAccepted());
    EXPECT_FALSE(menu.isVisible());

    lab.OnContextPopup = nullptr;
    QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(4, 5), QPoint(4, 5));
    QCoreApplication::sendEvent(&lab, &again);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

// ---- the shell's own stand-in ------------------------------------------------------------------

TEST(Shell, MissingFilesAndUnknownVerbsFail)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(Shell::defaultExecute({QStringLiteral("open"), dir.filePath(QStringLiteral("x.exe")),
                                     QString(), QString()}),
              Shell::seErrFileNotFound);
    EXPECT_EQ(Shell::defaultExecute({QStringLiteral("open"),
                                     dir.filePath(QStringLiteral("no/such/x.exe")), QString(),
                                     QString()}),
              Shell::seErrPathNotFound);
    EXPECT_EQ(Shell::defaultExecute({QStringLiteral("print"), dir.path(), QString(), QString()}),
              Shell::seErrNoAssoc);
}

TEST(Shell, ProgramGetsItsParametersAsArgumentsWithoutACommandInterpreter)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    const QString program = dir.filePath(QStringLiteral("tool.exe"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s|%s|%s' \"$1\" \"$2\" \"$#\" > \"%1.tmp\" "
                                "&& mv \"%1.tmp\" \"%1\"\n")
                     .arg(out)
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const int result = Shell::execute(
        {QStringLiteral("open"), program, QStringLiteral("\"a b\" $(touch pwned);c"), QString()});
    EXPECT_GT(result, 32);
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(out) && timer.elapsed() < 10000)
        QThread::msleep(20);
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    // Quotes group, nothing is expanded: no shell saw the parameters.
    EXPECT_EQ(QString::fromUtf8(written.readAll()), QStringLiteral("a b|$(touch|3"));
}

TEST(Shell, OnlyAWellFormedSchemeMakesAnAddress)
{
    // Not an address: no option-like text reaches the default handler's command line.
    EXPECT_EQ(Shell::defaultExecute({QStringLiteral("open"), QStringLiteral("--version://x.exe"),
                                     QString(), QString()}),
              Shell::seErrPathNotFound);

    // A program whose path holds "://" is a program all the same.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("a:")));
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    const QString program = dir.filePath(QStringLiteral("a:/tool.exe"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\ntouch \"%1\"\n").arg(out).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_GT(
        Shell::defaultExecute({QStringLiteral("open"), dir.filePath(QStringLiteral("a://tool.exe")),
                               QString(), QString()}),
        32);
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(out) && timer.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(out));
}
