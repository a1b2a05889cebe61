// SPDX-License-Identifier: GPL-3.0-or-later
// The inputs kept from fuzzing, replayed through the fuzz targets' own functions: the inputs
// of fixed findings (fuzz/regressions/<target>) and the hand-made seeds (fuzz/seeds/<target>).
// A target aborts on any broken promise, and the sanitizers catch the rest.

#include "FuzzTargets.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Target
{
    const char *name;
    int (*run)(const std::uint8_t *, std::size_t);
};

class FuzzRegressions : public ::testing::TestWithParam<Target>
{
};

TEST_P(FuzzRegressions, KeptInputsRunThroughTheTarget)
{
    const Target target = GetParam();
    int replayed = 0;
    for (const char *kind : {"regressions", "seeds"}) {
        const QDir dir(QStringLiteral(IONOGRAPH_FUZZ_DIR "/%1/%2").arg(kind, target.name));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray bytes = file.readAll();
            SCOPED_TRACE(name.toStdString());
            EXPECT_EQ(target.run(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                 std::size_t(bytes.size())),
                      0);
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0) << "no kept inputs for " << target.name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions,
                         ::testing::Values(Target{"dictionary", fuzzDictionary},
                                           Target{"messages", fuzzMessages},
                                           Target{"ticks", fuzzTicks},
                                           Target{"readout", fuzzReadout}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
