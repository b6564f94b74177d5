// Records with every field at a distinct non-zero value, so a field written to the wrong place or
// dropped shows up in a round trip.
#pragma once

#include <string>

#include "common/settings/dialer_settings.h"
#include "common/settings/font_desc.h"
#include "common/settings/mailbox_record.h"

namespace lx_test {

lx::MailboxRecord SampleMailbox(int seed);
lx::DialerSettings SampleDialer();
lx::FontDesc SampleFont();

void ExpectSameMailbox(const lx::MailboxRecord& a, const lx::MailboxRecord& b);
void ExpectSameDialer(const lx::DialerSettings& a, const lx::DialerSettings& b);

} // namespace lx_test
