// Opaque handles: found while live, refused when stale, forged or of another kind.
#include <gtest/gtest.h>

#include "netlib/core/handletable.h"

namespace lx::net {
namespace {

TEST(HandleTable, LiveStaleForgedAndMistypedHandles) {
    HandleTable t;
    int a = 1, b = 2;
    const std::uint32_t ha = t.add(&a, HandleKind::Pop3Session);
    ASSERT_NE(ha, 0u);
    EXPECT_EQ(t.find(ha, HandleKind::Pop3Session), &a);
    EXPECT_EQ(t.find(ha, HandleKind::SmtpSession), nullptr);
    EXPECT_EQ(t.find(0, HandleKind::Pop3Session), nullptr);
    EXPECT_EQ(t.find(ha + 1, HandleKind::Pop3Session), nullptr);
    EXPECT_EQ(t.find(0xDEADBEEF, HandleKind::Pop3Session), nullptr);
    EXPECT_EQ(t.remove(ha, HandleKind::Pop3Session), &a);
    EXPECT_EQ(t.find(ha, HandleKind::Pop3Session), nullptr);
    EXPECT_EQ(t.remove(ha, HandleKind::Pop3Session), nullptr);
    // The slot is reused with a new generation: the old handle stays dead.
    const std::uint32_t hb = t.add(&b, HandleKind::Pop3Session);
    EXPECT_EQ(hb & 0xFFFF, ha & 0xFFFF);
    EXPECT_NE(hb, ha);
    EXPECT_EQ(t.find(ha, HandleKind::Pop3Session), nullptr);
    EXPECT_EQ(t.find(hb, HandleKind::Pop3Session), &b);
}

TEST(HandleTable, RefusesNullObjectsAndFillsUp) {
    HandleTable t;
    EXPECT_EQ(t.add(nullptr, HandleKind::UdpSocket), 0u);
    int x = 0;
    std::uint32_t last = 0;
    for (std::size_t i = 0; i < HandleTable::kMaxSlots; ++i)
        last = t.add(&x, HandleKind::UdpSocket);
    EXPECT_NE(last, 0u);
    EXPECT_EQ(t.add(&x, HandleKind::UdpSocket), 0u);
    t.remove(last, HandleKind::UdpSocket);
    EXPECT_NE(t.add(&x, HandleKind::UdpSocket), 0u);
}

} // namespace
} // namespace lx::net
