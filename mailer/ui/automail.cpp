#include "mailer/ui/automail.h"

#include <windows.h>

#include "common/log/logwriter.h"
#include "common/settings/registry_win32.h"
#include "mailer/transfer/logic/transfermarks.h"
#include "mailer/transfer/maillett.h"
#include "mailer/transfer/pop3stat.h"
#include "mailer/ui/logic/autorun.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/logic/mailfold_rules.h"

namespace lx {

namespace {

// The two transfer dialogs in their automatic modes over the main window.
class DialogHost : public AutoRunHost {
public:
    DialogHost(const AutoMailContext& context, HWND frame) : context_(context), frame_(frame) {}

    bool SendingOpen() override { return context_.marks && context_.marks->sending; }
    bool RetrievingOpen() override { return context_.marks && context_.marks->retrieving; }

    SendSummary Send() override {
        SendMailData data;
        data.installPath = context_.installPath.c_str();
        data.catalog = context_.catalog;
        data.conn = context_.conn;
        data.automatic = true;
        data.marks = context_.marks;
        data.mainWindow = frame_;
        if (context_.silenceMillis) data.timeoutMillis = context_.silenceMillis;
        if (context_.specialFolders) {
            data.outFolder = context_.specialFolders->out;
            data.sentFolder = context_.specialFolders->sent;
        }
        ShowSendMailDialog(frame_, &data);
        return {data.queued, data.lastAccepted, data.statusText};
    }

    RetrieveSummary Retrieve() override {
        Pop3StatData data;
        data.catalog = context_.catalog;
        data.conn = context_.conn;
        data.installPath = context_.installPath;
        data.marks = context_.marks;
        data.automatic = true;
        data.mainWindow = frame_;
        if (context_.silenceMillis) data.watchdogMillis = context_.silenceMillis;
        if (context_.specialFolders) data.inFolderNum = context_.specialFolders->in;
        ShowPop3StatDialog(frame_, &data);
        return {data.totalWaiting, data.retrievingMessage, data.messages};
    }

private:
    const AutoMailContext& context_;
    HWND frame_;
};

} // namespace

void PlugAutoMailRun(CommandPlugs& plugs, const AutoMailContext& context) {
    plugs.Plug(kPlugAutoMailRun, [context](void* owner, const char*) {
        if (!context.catalog || !context.dialer || !context.mailboxes || !context.log)
            return kPlugCancel;
        DialogHost host(context, static_cast<HWND>(owner));
        Win32SettingsRegistry registry;
        RunAutoMail(host, *context.dialer, *context.mailboxes, registry, *context.log,
                    *context.catalog);
        return kPlugOk;
    });
}

} // namespace lx
