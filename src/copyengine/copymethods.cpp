#include "copyengine/copymethods.h"

#include "app/app.h"
#include "copyengine/jobevents.h"
#include "platform/shell.h"
#include "tray/tray.h"

CopyResult CopyFileWithProgress(App& app, JobEvents& events, const std::string& source,
                                const std::string& dest, std::optional<Ctl> bar, bool verify, WriteMode mode,
                                const CopyWorkFn& onWork) {
    const std::function<void(int)> show = [&app, bar, source, dest](int step) {
        ShowCopyStep(app, bar, source, dest, step);
    };
    CopyResult result =
        CopyFileData(app.fs, source, dest, verify, [&](int step) { events.progress(step, show); }, mode, onWork);
    if (!bar) {
        events.send([&app] {
            if (app.ui.windowCreated(Wnd::Progress)) app.ui.destroyWindow(Wnd::Progress);
        });
    }
    return result;
}

WrittenCopy WriteWithProgress(App& app, JobEvents& events, File& in, File& out, Ctl bar, bool digest,
                              const CopyWorkFn& onWork, const StopFn& stop) {
    const std::function<void(int)> show = [&app, bar](int step) { ShowCopyStep(app, bar, {}, {}, step); };
    return StreamCopy(in, out, digest, [&](int step) { events.progress(step, show); }, onWork, stop);
}

void ShowCopyStep(App& app, std::optional<Ctl> bar, const std::string& source,
                  const std::string& dest, int step) {
    if (bar) {
        app.ui.setProgressRange(*bar, 0, 100);
        app.ui.setProgressPos(*bar, step);
    } else if (app.ui.windowCreated(Wnd::Progress)) {
        app.ui.setProgressWindowText(ProgressCtl::标签1, "正在复制文件：" + source);
        app.ui.setProgressWindowText(ProgressCtl::标签2, "到目的文件：" + dest);
        app.ui.setProgressWindowPos(step);
    } else {
        app.ui.loadWindow(Wnd::Progress);
    }
}

CopyResult CopyWithShell(App& app, const std::string& source, const std::string& dest, bool verify,
                         WriteMode mode) {
    if (!app.shell.shellCopyFile(source, dest)) return {false, kShellFailedText};
    // The shell gives the copy its source's marks, which the program's copies never keep (a
    // read-only one could not even be flushed for its check); its own is hidden and marked
    // unfinished until it is placed, as its own copies are.
    app.fs.setAttributes(dest, mode == WriteMode::Hidden ? kHiddenAttribute | kSystemAttribute : kNormalAttributes);
    return verify ? VerifyCopy(app.fs, source, dest) : CopyResult{true, kShellCopiedText};
}

DeleteOutcome DeleteSource(App& app, JobEvents& events, const std::string& source, const FileInfo& copied) {
    const DeleteOutcome outcome = app.fs.deleteIfSame(source, copied);
    if (outcome == DeleteOutcome::Failed)
        events.send([&app, source] { ShowTrayBalloon(app, kProgramTitle, source + "\r\n删除失败！", 3); });
    return outcome;
}
