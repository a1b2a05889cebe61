// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Registry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kDemonKey = QStringLiteral("\\Software\\Orvan\\wendral\\demon");

// Points QUILLON_REGISTRY at a file in a temporary folder and restores the variable after.
class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hadVariable = qEnvironmentVariableIsSet("QUILLON_REGISTRY");
        m_saved = qgetenv("QUILLON_REGISTRY");
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("registry.ini"));
        qputenv("QUILLON_REGISTRY", QFile::encodeName(m_path));
    }
    void TearDown() override
    {
        if (m_hadVariable)
            qputenv("QUILLON_REGISTRY", m_saved);
        else
            qunsetenv("QUILLON_REGISTRY");
    }

    void writeHive(const QByteArray &content)
    {
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QString m_path;

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
    bool m_hadVariable = false;
};

} // namespace

TEST_F(RegistryTest, ReadsAValueOfAKey)
{
    writeHive("[\\Software\\Orvan\\wendral]\n"
              "ViewerHandle=1\n"
              "[\\Software\\Orvan\\wendral\\demon]\n"
              "ViewerHandle=1234\n"
              "Other=x\n"
              "[\\Software\\Orvan\\wendral\\demon\\sub]\n"
              "Deeper=y\n");
    EXPECT_EQ(registryFilePath(), m_path);
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("ViewerHandle")),
              QStringLiteral("1234"));
    EXPECT_EQ(readRegistryText(kRegistryLocalMachine, kDemonKey, QStringLiteral("Other")),
              QStringLiteral("x"));
    // Values of the parent key and of a sub-key are not values of this key.
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("Deeper")), QString());
    EXPECT_EQ(
        readRegistryText(0, QStringLiteral("\\Software\\Orvan\\wendral"), QStringLiteral("Deeper")),
        QString());
    EXPECT_EQ(readRegistryText(0, QStringLiteral("\\Software\\Orvan\\wendral"),
                               QStringLiteral("ViewerHandle")),
              QStringLiteral("1"));
}

TEST_F(RegistryTest, PathsAndNamesCompareAsTheRegistryDoes)
{
    writeHive("[Software/ORVAN/Wendral/Demon]\n"
              "viewerhandle = 77\n");
    for (const QString &path : {kDemonKey, QStringLiteral("Software\\Orvan\\wendral\\demon"),
                                QStringLiteral("\\SOFTWARE\\orvan\\WENDRAL\\DEMON\\"),
                                QStringLiteral("\\\\Software\\\\Orvan\\wendral\\demon"),
                                QStringLiteral("Software/Orvan/wendral/demon")})
        EXPECT_EQ(readRegistryText(0, path, QStringLiteral("ViewerHandle")), QStringLiteral("77"))
            << path.toStdString();
    EXPECT_EQ(readRegistryText(0, QStringLiteral("\\Software\\Orvan\\wendral\\demo"),
                               QStringLiteral("ViewerHandle")),
              QString());
    EXPECT_EQ(readRegistryText(0, QStringLiteral("\\Software\\Orvan\\wendral\\demonx"),
                               QStringLiteral("ViewerHandle")),
              QString());
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("ViewerHandl")), QString());
}

TEST_F(RegistryTest, MissingFileKeyValueOrRootGiveTheEmptyText)
{
    writeHive("[\\Software\\Orvan\\wendral\\demon]\nViewerHandle=5\n");
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("Nothing")), QString());
    EXPECT_EQ(
        readRegistryText(0, QStringLiteral("\\Software\\Nobody"), QStringLiteral("ViewerHandle")),
        QString());
    // Only the local machine has a hive.
    EXPECT_EQ(readRegistryText(0x80000001, kDemonKey, QStringLiteral("ViewerHandle")), QString());

    QFile::remove(m_path);
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("ViewerHandle")), QString());
}

TEST_F(RegistryTest, ToleratesTheUsualIniFurniture)
{
    writeHive("\xEF\xBB\xBF"
              "RootValue=r\r\n"
              "; a comment\r\n"
              "# another=comment\r\n"
              "\r\n"
              "  [ \\Software\\Orvan\\wendral\\demon ]  \r\n"
              "Quoted = \"  spaced value  \"\r\n"
              "Command=run --mode=fast\r\n"
              "Empty=\r\n"
              "@=default text\r\n"
              "Twice=first\r\n"
              "not a value line\r\n"
              "Twice=second\r\n"
              "Unicode=Gr\xC3\xBC\xC3\x9F"
              "e\r\n"
              "[\\Software\\Orvan\\wendral\\demon\r\n"
              "Lost=after a broken header\r\n");
    EXPECT_EQ(readRegistryText(0, QString(), QStringLiteral("RootValue")), QStringLiteral("r"));
    EXPECT_EQ(readRegistryText(0, QStringLiteral("\\"), QStringLiteral("rootvalue")),
              QStringLiteral("r"));
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("Quoted")),
              QStringLiteral("  spaced value  "));
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("Command")),
              QStringLiteral("run --mode=fast"));
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("Empty")), QString());
    EXPECT_EQ(readRegistryText(0, kDemonKey, QString()), QStringLiteral("default text"));
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("Twice")), QStringLiteral("first"));
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("Unicode")),
              QStringLiteral("Gr\u00FC\u00DFe"));
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("another")), QString());
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("Lost")), QString());
    EXPECT_EQ(readRegistryText(0, kDemonKey, QStringLiteral("RootValue")), QString());
}

namespace {

QByteArray utf16(const QString &text)
{
    return QByteArray("\xff\xfe", 2) +
           QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

} // namespace

// Files that are no INI text at all hold no values and never stall the reader; a device named
// by mistake (which reads without end) is not read.
TEST_F(RegistryTest, WhatIsNoIniFileHoldsNoValues)
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919 + 13) % 256));
    const QByteArray valueLine = "[\\Software\\Orvan\\wendral\\demon]\nViewerHandle=abc\n";
    const struct
    {
        const char *what;
        QByteArray content;
    } files[] = {
        {"binary garbage", garbage},
        {"one line of 2 MiB", QByteArray(2 * 1024 * 1024, 'x')},
        {"the value after 1 MiB of padding", QByteArray(1024 * 1024, '\n') + valueLine},
        {"a section header that never closes",
         "[\\Software\\Orvan\\wendral\\demon\nViewerHandle=x"},
        {"UTF-16 text", utf16(QString::fromLatin1(valueLine))},
    };
    for (const auto &file : files) {
        SCOPED_TRACE(file.what);
        writeHive(file.content);
        EXPECT_EQ(readRegistryText(kRegistryLocalMachine, kDemonKey, "ViewerHandle"), QString());
    }
    for (const char *path : {"/dev/zero", "/", "/proc/self/fd"}) {
        SCOPED_TRACE(path);
        qputenv("QUILLON_REGISTRY", path);
        EXPECT_EQ(readRegistryText(kRegistryLocalMachine, kDemonKey, "ViewerHandle"), QString());
    }
}
