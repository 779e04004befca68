#include "settings/sendto.h"

#include "app/app.h"
#include "text/gbk.h"

namespace {

constexpr const char* kShortcutName = "RuzoriZE3视频复制工具";

bool LeadsHere(App& app) {
    return LowerAsciiGbk(app.shell.sendToTarget(kShortcutName)) == LowerAsciiGbk(app.sys.programPath());
}

}  // namespace

void ShowSendToEntry(App& app) { app.ui.setChecked(Ctl::选择框_发送到, LeadsHere(app)); }

void ApplySendToOption(App& app) {
    const bool done = app.ui.checked(Ctl::选择框_发送到)
                          ? app.shell.createSendToShortcut(kShortcutName, app.sys.programPath())
                          : app.shell.deleteSendToShortcut(kShortcutName);
    ShowSendToEntry(app);
    if (!done) app.ui.messageBox("无法修改“发送到”菜单！", kProgramTitle, mb::Ok | mb::IconWarning);
}
