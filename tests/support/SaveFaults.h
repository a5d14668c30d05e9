#pragma once
// Ways to make a save fail on a real disk, whoever runs the tests: a child process without
// privileges (so a read-only folder means read-only even for root), a size limit that makes a
// write fail as a full disk does, and one that kills the writer half way through.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <csignal>
#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvel::testing {

struct ChildResult {
    bool exited = false;
    int code = -1;    // exit code when exited
    int signal = 0;   // the signal that ended it otherwise
};

// Runs fn in a child process; its return value is the child's exit code.
inline ChildResult RunInChild(const std::function<int()>& fn, bool unprivileged = false)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (unprivileged && geteuid() == 0) {
            const gid_t nogroup = 65534;
            if (setgroups(0, nullptr) != 0 || setgid(nogroup) != 0 || setuid(65534) != 0)
                _exit(120);
        }
        _exit(fn());
    }
    ChildResult r;
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return r;
    r.exited = WIFEXITED(status);
    r.code = r.exited ? WEXITSTATUS(status) : -1;
    r.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return r;
}

// In the child: every write past `bytes` raises SIGXFSZ, which ends the process mid-save.
inline void KillWritesBeyond(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit small{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &small);
}

// In the child: every write past `bytes` fails (EFBIG), as on a full disk.
inline void FailWritesBeyond(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &small);
}

inline QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

}  // namespace korvel::testing
