#include "WinSkinStore.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

TEST(WinSkinStoreTest, Items_AreNamedAfterTheirCollectionId) {
    TSkinStore store;
    store.Store().Add();
    store.Store().Add();
    store.Store().Delete(0);
    const TSkinCollectionItem& third = store.Store().Add();
    EXPECT_EQ(store.Store().Items(0).Name(), "SkinItem1");
    EXPECT_EQ(third.Name(), "SkinItem2");
    EXPECT_EQ(third.SkinData(), "Load Skin");
}

TEST(WinSkinStoreTest, Rename_ToAnotherItemsNameFailsAndKeepsTheOldName) {
    TSkinCollection collection;
    TSkinCollectionItem& first = collection.Add();
    TSkinCollectionItem& second = collection.Add();
    first.SetName("Blue");
    EXPECT_NO_THROW(first.SetName("Blue"));
    try {
        second.SetName("Blue");
        FAIL() << "a duplicate name was accepted";
    } catch (const ESkinStoreError& error) {
        EXPECT_STREQ(error.what(), "The name Blue is already used.");
    }
    EXPECT_EQ(second.Name(), "SkinItem1");
    EXPECT_NO_THROW(second.SetName("blue"));  // names compare exactly
}

TEST(WinSkinStoreTest, Assign_CopiesNamesAndBytesItemByItem) {
    TSkinStore source;
    TSkinCollectionItem& item = source.Store().Add();
    item.SetName("Silver");
    item.SetDataStream("skin bytes");
    source.Store().Add().SetDataStream("other");

    TSkinStore target;
    target.Store().Add().SetName("Old");
    target.SetStore(source.Store());
    ASSERT_EQ(target.Store().Count(), 2);
    EXPECT_EQ(target.Store().Items(0).Name(), "Silver");
    EXPECT_EQ(target.Store().Items(0).DataStream(), "skin bytes");
    EXPECT_EQ(target.Store().Items(0).DataSize(), 10);
    EXPECT_EQ(target.Store().Items(1).Name(), "SkinItem1");
    EXPECT_EQ(target.Store().Items(1).DataStream(), "other");
    item.SetDataStream("changed");
    EXPECT_EQ(target.Store().Items(0).DataStream(), "skin bytes");
}

}  // namespace
}  // namespace vardo
