// Opaque handles: found while live, refused when stale, forged or of another kind.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "netlib/core/handletable.h"
#include "netlib/mime/handletable.h"

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

// The MIME objects' handles and every other kind come from the one table: no two live handles
// of any kinds share a number, and each is found only as its own kind.
TEST(HandleTable, MimeHandlesShareTheLibrarysOneNumbering) {
    struct Obj {
        int id;
    };
    mime::HandleTable<Obj, HandleKind::MimePreparer> preparers;
    mime::HandleTable<Obj, HandleKind::MimeScanner> scanners;
    int sock = 0, session = 0;
    const std::uint32_t hs = handles().add(&sock, HandleKind::StreamSocket);
    const std::uint32_t hp = preparers.add(std::make_unique<Obj>(Obj{1}));
    const std::uint32_t hm = scanners.add(std::make_unique<Obj>(Obj{2}));
    const std::uint32_t hn = handles().add(&session, HandleKind::Pop3Session);
    const std::set<std::uint32_t> all = {hs, hp, hm, hn};
    EXPECT_EQ(all.size(), 4u);
    EXPECT_EQ(all.count(0u), 0u);
    EXPECT_EQ(preparers.find(hp)->id, 1);
    EXPECT_EQ(scanners.find(hm)->id, 2);
    for (std::uint32_t other : {hs, hm, hn}) EXPECT_EQ(preparers.find(other), nullptr);
    for (std::uint32_t other : {hs, hp, hn}) EXPECT_EQ(scanners.find(other), nullptr);
    EXPECT_EQ(handles().find(hp, HandleKind::StreamSocket), nullptr);
    EXPECT_EQ(scanners.take(hp), nullptr); // a preparer is never closed as a scanner
    EXPECT_EQ(preparers.take(hp)->id, 1);
    EXPECT_EQ(preparers.find(hp), nullptr);
    EXPECT_EQ(preparers.take(hp), nullptr);
    EXPECT_EQ(scanners.take(hm)->id, 2);
    handles().remove(hs, HandleKind::StreamSocket);
    handles().remove(hn, HandleKind::Pop3Session);
}

} // namespace
} // namespace lx::net
