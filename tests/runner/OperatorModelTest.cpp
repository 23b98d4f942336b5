// The operator model: random sequences of clock, operator and world steps on a whole station with
// real task processes, every check after every step. RC_PARAMS (seed, max_success, max_size,
// reproduce) chooses the sequences; the test command fixes them, scripts/explore.sh varies them.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <iostream>

#include "OperatorCommands.h"

namespace vardo::test {
namespace {

RC_GTEST_PROP(OperatorModel, EveryStepKeepsTasksHistoryAndGridTrue, ()) {
    const StationOptions options{*rc::gen::arbitrary<bool>(), *rc::gen::arbitrary<bool>()};
    ++operatorTally.sequences;
    OperatorStation station(options);
    rc::state::check(StationModel{}, station, OperatorSteps());
}

// The campaign's size, for scripts/explore.sh.
class TallyPrinter : public ::testing::EmptyTestEventListener {
    void OnTestProgramEnd(const ::testing::UnitTest&) override {
        std::cout << "operator model: " << operatorTally.sequences << " sequences, "
                  << operatorTally.steps << " steps (" << operatorTally.openSteps
                  << " while the program ran), " << operatorTally.starts << " task starts"
                  << std::endl;
    }
};

const bool tallyPrinted = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new TallyPrinter);
    return true;
}();

}  // namespace
}  // namespace vardo::test
