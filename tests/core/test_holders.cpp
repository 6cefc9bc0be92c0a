// The GDI holders and the two operations every SetColours is made of.
#include <gtest/gtest.h>

#include "support/Fakes.h"

#include <vector>

#include "device/PortableGdiObjects.h"
#include "device/GdiHolders.h"
#include "device/PenBrushSet.h"

namespace tessaly {
namespace {

using RecordingObjects = testing::RecordingObjects<PortableGdiObjects>;

TEST(GdiHolders, EmptyHolderDeletesNothing) {
    RecordingObjects objects;
    CBrush brush(objects);
    EXPECT_EQ(brush.GetSafeHandle(), nullptr);
    EXPECT_FALSE(brush.DeleteObject());
    EXPECT_TRUE(objects.log.empty());
}

TEST(GdiHolders, AttachDeleteAndDestructor) {
    RecordingObjects objects;
    GdiHandle first = objects.CreateSolidBrush(Rgb(1, 2, 3));
    {
        CBrush brush(objects);
        EXPECT_FALSE(brush.Attach(nullptr));
        EXPECT_EQ(brush.GetSafeHandle(), nullptr);
        EXPECT_TRUE(brush.Attach(first));
        EXPECT_EQ(brush.GetSafeHandle(), first);
        EXPECT_TRUE(brush.DeleteObject());
        EXPECT_EQ(brush.GetSafeHandle(), nullptr);
        EXPECT_EQ(objects.live.size(), 0u);
        EXPECT_FALSE(brush.DeleteObject());  // second delete finds it empty

        EXPECT_TRUE(brush.Attach(objects.CreateSolidBrush(Rgb(4, 5, 6))));
        EXPECT_EQ(objects.live.size(), 1u);
    }
    EXPECT_EQ(objects.live.size(), 0u);  // the destructor deleted it
}

TEST(GdiHolders, AttachOverAHeldBrushReleasesTheOldOne) {
    RecordingObjects objects;
    CBrush brush(objects);
    brush.Attach(objects.CreateSolidBrush(Rgb(1, 1, 1)));
    brush.Attach(objects.CreateSolidBrush(Rgb(2, 2, 2)));
    EXPECT_EQ(objects.live.size(), 1u);
    EXPECT_EQ(PortableGdiObjects::Record(brush.GetSafeHandle())->colour, Rgb(2, 2, 2));
}

TEST(GdiHolders, ReplaceSolidBrushDeletesThenCreatesThenAttaches) {
    RecordingObjects objects;
    CBrush brush(objects);
    // First use of a slot: nothing to delete.
    EXPECT_TRUE(ReplaceSolidBrush(brush, Rgb(10, 20, 30)));
    ASSERT_EQ(objects.log.size(), 1u);
    EXPECT_EQ(objects.log[0].op, 'C');
    GdiHandle old = brush.GetSafeHandle();
    EXPECT_EQ(PortableGdiObjects::Record(old)->colour, 0x001E140Au);

    ReplaceSolidBrush(brush, Rgb(40, 50, 60));
    ASSERT_EQ(objects.log.size(), 3u);
    EXPECT_EQ(objects.log[1].op, 'D');
    EXPECT_EQ(objects.log[1].handle, old);
    EXPECT_EQ(objects.log[2].op, 'C');
    EXPECT_EQ(objects.live.size(), 1u);
    EXPECT_EQ(PortableGdiObjects::Record(brush.GetSafeHandle())->colour, Rgb(40, 50, 60));
}

TEST(GdiHolders, FailedCreateLeavesTheSlotEmpty) {
    RecordingObjects objects;
    CBrush brush(objects);
    ReplaceSolidBrush(brush, Rgb(1, 2, 3));
    objects.failCreate = true;
    EXPECT_FALSE(ReplaceSolidBrush(brush, Rgb(4, 5, 6)));
    EXPECT_EQ(brush.GetSafeHandle(), nullptr);
    EXPECT_EQ(objects.live.size(), 0u);
}

TEST(GdiHolders, AssignStockObjectOverwritesWithoutDeleting) {
    RecordingObjects objects;
    CPen pen(objects);
    EXPECT_TRUE(AssignStockObject(pen, kStockBlackPen));
    EXPECT_EQ(pen.GetSafeHandle(), objects.inner.GetStockObject(kStockBlackPen));
    EXPECT_TRUE(AssignStockObject(pen, kStockWhitePen));
    EXPECT_EQ(pen.GetSafeHandle(), objects.inner.GetStockObject(kStockWhitePen));
    EXPECT_TRUE(objects.log.empty());
    EXPECT_FALSE(AssignStockObject(pen, 3));  // no such stock object here
    EXPECT_EQ(pen.GetSafeHandle(), nullptr);
}

TEST(GdiHolders, PenBrushSetDestroysSlotsFromSixDownToZero) {
    RecordingObjects objects;
    std::vector<GdiHandle> loaded;
    {
        PenBrushSet set(objects);
        CBrush* slots[] = {&set.stemLeafBrush, &set.fallLeafBrush, &set.discBrush,
                           &set.petalBrush0,   &set.petalBrush1,   &set.petalBrush2,
                           &set.snowflakeBrush};
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(slots[i]->GetSafeHandle(), nullptr);
            ReplaceSolidBrush(*slots[i], Rgb(i, 0, 0));
            loaded.push_back(slots[i]->GetSafeHandle());
        }
        EXPECT_EQ(objects.live.size(), 7u);
        objects.log.clear();
    }
    EXPECT_EQ(objects.live.size(), 0u);
    ASSERT_EQ(objects.log.size(), 7u);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(objects.log[i].handle, loaded[6 - i]);
}

}  // namespace
}  // namespace tessaly
