// Every input a fuzz target ever failed on is kept in fixtures/fuzz/<target>/ and must pass
// that target's check now; so must the hand-written seeds in fuzz/seeds/<target>/.
#include "checks.h"
#include "../test_files.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class FuzzInputs : public testing::TestWithParam<tw::fuzz::Target> {};

TEST_P(FuzzInputs, PassTheirCheck) {
    const tw::fuzz::Target& target = GetParam();
    for (const QString& folder : {QStringLiteral(TARNWICK_FIXTURES "/fuzz/"), QStringLiteral(TARNWICK_FUZZ_SEEDS "/")}) {
        const QDir dir(folder + QLatin1String(target.name));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            const QByteArray input = readFileBytes(dir.filePath(name));
            EXPECT_EQ(target.check({input.constData(), static_cast<size_t>(input.size())}), "")
                << dir.filePath(name).toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzInputs, testing::ValuesIn(tw::fuzz::targets()),
                         [](const testing::TestParamInfo<tw::fuzz::Target>& info) { return std::string(info.param.name); });

} // namespace
