#include "settings/playerdrive.h"

#include "app/app.h"
#include "copyengine/jobstate.h"
#include "settings/folder.h"

namespace {

// A root without a drive letter (a network path) is never replaced by a drive.
bool RootDrivePresent(App& app) {
    const std::string root = app.ui.text(Ctl::目录框);
    if (root.size() < 2 || root[1] != ':') return true;
    return app.fs.driveTotalBytes(root[0]) >= 0;
}

}  // namespace

char NewPlayerDrive(bool rootDrivePresent, const std::string& removable, const std::string& seenBefore) {
    if (rootDrivePresent || removable.size() != 1) return 0;
    return seenBefore.find(removable[0]) == std::string::npos ? removable[0] : 0;
}

bool OfferNewPlayerDrive(App& app) {
    const std::string removable = app.fs.removableDrives();
    const char letter = NewPlayerDrive(RootDrivePresent(app), removable, app.removableSeen);
    app.removableSeen = removable;  // before asking: a device event meanwhile finds nothing new
    if (!letter) return false;
    const std::string root = app.ui.text(Ctl::目录框);
    const std::string player = std::string(1, letter) + ":\\";
    const std::string question =
        "目标磁盘 " + root.substr(0, 2) + " 不存在。\r\n找到移动磁盘 " + player + "，是否用它作为复制根目录？";
    if (app.ui.messageBox(question, kProgramTitle, mb::YesNo | mb::IconQuestion) != mb::IdYes) return false;
    SetTargetRoot(app, player);
    return true;
}

void OnDrivesChanged(App& app) {
    if (!JobState(app).running) OfferNewPlayerDrive(app);
}
