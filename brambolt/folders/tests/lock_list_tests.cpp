#include <gtest/gtest.h>

#include "brambolt/folders/lock_list.h"

namespace brambolt {
namespace {

TEST(LockList, KeepsEntriesInTheOrderOfAppendAndRemovesByPosition) {
    LockList list;
    list.Append(u"C:\\A");
    list.Append(u"C:\\B");
    list.Append(u"C:\\A");
    EXPECT_EQ(list.Entries(), (LockListEntries{u"C:\\A", u"C:\\B", u"C:\\A"}));
    EXPECT_TRUE(list.RemoveAt(1));
    EXPECT_EQ(list.Entries(), (LockListEntries{u"C:\\A", u"C:\\A"}));
    EXPECT_FALSE(list.RemoveAt(2));
    EXPECT_EQ(list.Count(), 2U);
}

TEST(LockList, HoldsMoreThanTenEntries) {
    LockList list;
    for (int i = 0; i < 12; ++i) {
        list.Append(u"C:\\X");
    }
    EXPECT_EQ(list.Count(), 12U);
}

TEST(LockList, EveryChangeGivesANewerSnapshotAndAFailedRemoveDoesNot) {
    LockList list;
    const LockListSnapshot start = list.Snapshot();
    list.Append(u"C:\\A");
    const LockListSnapshot afterAppend = list.Snapshot();
    list.Replace({u"C:\\B", u"C:\\C"});
    const LockListSnapshot afterReplace = list.Snapshot();
    list.RemoveAt(5);
    const LockListSnapshot afterFailedRemove = list.Snapshot();

    EXPECT_LT(start.version, afterAppend.version);
    EXPECT_LT(afterAppend.version, afterReplace.version);
    EXPECT_EQ(afterReplace.version, afterFailedRemove.version);
    EXPECT_EQ(afterAppend.entries, (LockListEntries{u"C:\\A"}));
    EXPECT_EQ(afterReplace.entries, (LockListEntries{u"C:\\B", u"C:\\C"}));
}

}  // namespace
}  // namespace brambolt
