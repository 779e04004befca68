#include "settings/folder.h"

#include "app/app.h"
#include "paths/paths.h"
#include "copylist/sizedisplay.h"
#include "settings/inifile.h"
#include "text/escape.h"
#include "text/gbk.h"
#include "tray/tray.h"

namespace {

constexpr int kBalloonInfo = 1;

std::string TrimBlanks(const std::string& s) {
    const auto begin = s.find_first_not_of(' ');
    if (begin == std::string::npos) return "";
    return s.substr(begin, s.find_last_not_of(' ') - begin + 1);
}

// A "?" that is no escape stands for a character lost on the way.
bool HasLostCharacter(const std::string& s) {
    for (std::size_t i = IndexOfGbk(s, '?'); i != std::string::npos; i = IndexOfGbk(s, '?', i + 1))
        if (!EscapeAt(s, i)) return true;
    return false;
}

// The chosen folder without its final "\", or "" when nothing usable was chosen.
std::string ChosenFolder(const BrowseOutcome& o) {
    const std::string name = TrimBlanks(o.displayName.substr(0, o.displayName.find('\0')));
    if (HasLostCharacter(name) || !o.itemChosen || !o.hasPath) return "";
    return o.path.size() == 3 ? o.path.substr(0, 2) : o.path;
}

}  // namespace

std::string NormaliseBrowseOutcome(const BrowseOutcome& o) { return ChosenFolder(o) + "\\"; }

// The browser opens at the current root, when there is one to open.
std::string BrowseForFolder(App& app, const std::string& title) {
    const std::string root = app.ui.text(Ctl::目录框);
    return NormaliseBrowseOutcome(app.shell.browseForFolder(title, FolderExists(app.fs, root) ? root : ""));
}

// A root mp4.ini could not give back whole is refused, so the next start finds the same one.
void ChooseTargetFolder(App& app) {
    const std::string root = BrowseForFolder(app, "请选择RuzoriZE3磁盘根目录");
    if (root == "\\") return;
    if (FitsIniValue(root)) SetTargetRoot(app, root);
    else app.ui.messageBox(TooLongForIni("目标目录"), kProgramTitle, mb::Ok | mb::IconWarning);
}

void SetTargetRoot(App& app, const std::string& root) {
    app.ui.setText(Ctl::目录框, root);
    WriteIniText(app, "MP4配置", "复制路径", app.ui.text(Ctl::目录框));
    RefreshSizeDisplay(app);
}

void ChooseTargetFolderAndNotify(App& app) {
    ChooseTargetFolder(app);
    ShowTrayBalloon(app, app.ui.title(Wnd::Main), "目标目录已被修改为" + app.ui.text(Ctl::目录框), kBalloonInfo);
}
