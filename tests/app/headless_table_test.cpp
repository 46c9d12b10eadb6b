#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/results_table.h"
#include "recalculation/recalculation.h"
#include "tests/support/recording_sink.h"

namespace veldorin {
namespace {

// The installed program run from a shell where there is no display: ctest removes
// QT_QPA_PLATFORM and DISPLAY from this test's environment.
TEST(HeadlessTable, ThePrintedTableIsTheDefaultModelsTableDat) {
    ASSERT_EQ(std::getenv("DISPLAY"), nullptr);
    ASSERT_EQ(std::getenv("QT_QPA_PLATFORM"), nullptr);
    const std::string command =
        std::string("'") + VELDORIN_PROGRAM + "' --table '" + VELDORIN_DEFAULT_MODEL_FILE + "'";
    FILE* program = popen(command.c_str(), "r");
    ASSERT_NE(program, nullptr);
    std::string printed;
    std::array<char, 4096> buffer{};
    for (std::size_t read; (read = std::fread(buffer.data(), 1, buffer.size(), program)) > 0;) {
        printed.append(buffer.data(), read);
    }
    const int status = pclose(program);

    test::RecordingSink table;
    Recalculation().RunTable(DefaultModel(), GraphSettings{}, table);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(printed, TableFileContents(table.lines));
}

}  // namespace
}  // namespace veldorin
