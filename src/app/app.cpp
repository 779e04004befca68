#include "app/app.h"

#include <utility>

#include "app/startup.h"
#include "copyengine/copyjob.h"

// 复制 pressed while a folder was read starts the job now; an exit asked for during a job
// goes ahead once it has ended.
App::App(Ui& u, FileSystem& f, Profile& p, System& s, Shell& sh) : ui(u), fs(f), ini(p), sys(s), shell(sh) {
    intakeDone = [](App& app) {
        if (std::exchange(app.copyAfterIntake, false)) StartCopyJob(app);
    };
    jobEnded = [](App& app) {
        if (std::exchange(app.exitAfterJob, false)) ExitProgram(app);
    };
}
