// The arena the world's bodies live in: which slot comes next decides the
// order of every set, so it must follow from the takes and gives alone.

#include <gtest/gtest.h>

#include "Ball.h"
#include "entityArena.h"
#include "graphics.h"

using entityArena::kSlotBytes;

TEST(EntityArena, TheLastFreedSlotComesFirstThenTheLowestUnused)
{
    auto* const a = static_cast<unsigned char*>(entityArena::take());
    auto* const b = static_cast<unsigned char*>(entityArena::take());
    auto* const c = static_cast<unsigned char*>(entityArena::take());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(b, a + kSlotBytes);
    EXPECT_EQ(c, a + 2 * kSlotBytes);
    entityArena::give(a);
    entityArena::give(c);
    EXPECT_EQ(entityArena::used(), 1u);
    EXPECT_EQ(entityArena::take(), c);
    EXPECT_EQ(entityArena::take(), a);
    EXPECT_EQ(entityArena::take(), a + 3 * kSlotBytes);
    EXPECT_EQ(entityArena::used(), 4u);
}

TEST(EntityArena, AFullArenaMakesNothingUntilASlotIsFreed)
{
    void* const first = entityArena::take();
    while (entityArena::used() < entityArena::kSlots)
        ASSERT_NE(entityArena::take(), nullptr);
    EXPECT_EQ(entityArena::take(), nullptr);
    EXPECT_EQ(entityArena::make<Ball>(Vector2(1.0f, 2.0f), 3.0f, cWhite), nullptr);

    entityArena::give(first);
    Ball* const ball = entityArena::make<Ball>(Vector2(1.0f, 2.0f), 3.0f, cWhite);
    EXPECT_EQ(static_cast<void*>(ball), first);
    EXPECT_EQ(entityArena::take(), nullptr);
    entityArena::destroy(ball);
    EXPECT_EQ(entityArena::take(), first);
}
