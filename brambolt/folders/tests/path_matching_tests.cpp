#include <gtest/gtest.h>

#include <string>

#include "brambolt/folders/path_matching.h"

namespace brambolt {
namespace {

TEST(PathMatching, AShownFolderMatchesItsEntryAndWhatLiesBelowIt) {
    struct Case {
        std::u16string shown;  // upper case, as the watch passes it
        std::u16string entry;
        bool shows;
    };
    const Case cases[] = {
        {u"D:\\DATA", u"D:\\DATA", true},
        {u"D:\\DATA", u"d:\\data", true},  // equal in any case
        {u"D:\\DATA\\2024\\JAN", u"D:\\DATA", true},
        {u"D:\\DATA2", u"D:\\DATA", false},  // a sibling
        {u"D:\\", u"D:\\DATA", false},
        {u"D:\\PHOTOS", u"d:\\photos", true},         // a hand-edited entry: itself only
        {u"D:\\PHOTOS\\2024", u"d:\\photos", false},  // not what lies below it
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShowsListedFolder(c.shown, c.entry), c.shows)
            << std::string(c.shown.begin(), c.shown.end()) << " / "
            << std::string(c.entry.begin(), c.entry.end());
    }
}

TEST(PathMatching, AnyListedEntryKeepsTheFolderShown) {
    const LockListEntries entries = {u"C:\\A", u"D:\\DATA"};
    EXPECT_TRUE(ShowsAnyListedFolder(u"D:\\DATA\\X", entries));
    EXPECT_FALSE(ShowsAnyListedFolder(u"E:\\DATA", entries));
    EXPECT_FALSE(ShowsAnyListedFolder(u"D:\\DATA", {}));
}

}  // namespace
}  // namespace brambolt
