#include "app/history/HistoryList.h"

#include "app/core/SearchFolding.h"

#include <gtest/gtest.h>

using namespace Tunewell;

TEST(HistoryList, EveryWordIsFoundInTheTitleOrTheStationCaseAndAccentsAside) {
    const HistoryList list =
        MakeHistoryList({{"Canção do Mar - Dulce Pontes", "Rádio São Paulo", "1", "u", 0}});
    ASSERT_EQ(list.Folded.size(), 1u);
    struct Case {
        const char *Typed;
        bool Found;
    } cases[] = {
        {"", true},
        {"cancao", true},
        {"CANÇÃO", true},
        {"sao paulo", true},
        {"pontes radio", true},
        {"  mar   dulce ", true},
        {"fado", false},
        {"pontes fado", false},
        // Words do not match across the title and the station.
        {"pontesradio", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HoldsEveryWord(list.Folded[0], FoldedSearchWords(c.Typed)), c.Found) << c.Typed;
}
