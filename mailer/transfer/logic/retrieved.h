// A message the scanner read from the incoming spool, as the store and the filters take it.
#pragma once

#include <string>

#include "common/schema/newmessage.h"
#include "mailer/transfer/logic/filterrule.h"
#include "netlib/mime/scanrecord.h"

namespace lx {

// The Messages row and its children: subject with the flag suffix (unread, "F" when the record
// lists a file), MesgType "I", MesgSize the length of the text; one ToList row holding
// `noRecipient` when the record has no To address.
NewMessage RetrievedMessage(const TernScanRecord& record, long folderNum, const StoreTime& now,
                            const std::string& noRecipient);

// The sender, subject (before the flag suffix) and text that the filter rules look at.
FilterMessage FilterTextsOf(const TernScanRecord& record);

} // namespace lx
