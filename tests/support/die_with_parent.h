#pragma once

#include <QProcess>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

// A helper process of a test or a benchmark ends when the program that started it
// does, however that ends: a test killed from outside must not leave sound servers
// or busy loops behind.
inline void dieWithParent(QProcess& process)
{
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) // it ended before the line above
            ::_exit(1);
    });
}
