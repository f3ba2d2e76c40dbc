// Which list files the reader takes in whole: any other is kept aside before a save replaces it.
#include <gtest/gtest.h>

#include <string>

#include <cstdint>
#include <vector>

#include "brambolt/folders/lock_list_codec.h"

namespace brambolt {
namespace {

struct WholeCase {
    const char* name;
    std::vector<std::uint8_t> file;
    bool whole;
};

class ListFile : public ::testing::TestWithParam<WholeCase> {};

TEST_P(ListFile, DecodesWholeOnlyWhenTheReaderDropsNothing) {
    EXPECT_EQ(DecodesWhole(GetParam().file), GetParam().whole);
}

std::string CaseName(const ::testing::TestParamInfo<WholeCase>& param) {
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    LockListCodec, ListFile,
    ::testing::Values(
        WholeCase{"Empty", {}, true}, WholeCase{"MarkAlone", {0xFF, 0xFE}, true},
        WholeCase{
            "OneEntry", {0xFF, 0xFE, 'C', 0, ':', 0, '\\', 0, 'A', 0, '\r', 0, '\n', 0}, true},
        WholeCase{"LineFeedsAndSpaces", {0xFF, 0xFE, ' ', 0, 'A', 0, '\n', 0, '\n', 0}, true},
        WholeCase{"Utf8WithoutMark", {'C', ':', '\\', 'A', 'L', 'P', 'H', 'A', '\r', '\n'}, false},
        WholeCase{"OneByte", {0xFF}, false},
        WholeCase{"MarkOfTheOtherOrder", {0xFE, 0xFF, 0, 'A'}, false},
        WholeCase{"OddLastByte", {0xFF, 0xFE, 'A', 0, 'B'}, false},
        WholeCase{"NulBeforeALine", {0xFF, 0xFE, 'A', 0, 0, 0, 'B', 0}, false},
        WholeCase{"NulAtTheEnd", {0xFF, 0xFE, 'A', 0, 0, 0}, false},
        WholeCase{"HighByteZeroIsNoNul", {0xFF, 0xFE, 0, 0x4E, 'A', 0}, true}),
    CaseName);

}  // namespace
}  // namespace brambolt
