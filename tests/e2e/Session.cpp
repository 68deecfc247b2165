// Interactive runs of the binary for the protocol sessions.
#include "e2e/Session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace {

long NowMs() {
    using namespace std::chrono;
    return long(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

Session::Session(const std::vector<std::string>& args) {
    char tmpl[] = "/tmp/velkor-session-XXXXXX";
    dir = mkdtemp(tmpl) ? tmpl : "/tmp";
    int in[2], outPipe[2];
    if (pipe(in) || pipe(outPipe)) return;
    started = NowMs();
    pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(outPipe[1], 1);
        dup2(outPipe[1], 2);
        for (int fd : {in[0], in[1], outPipe[0], outPipe[1]}) close(fd);
        if (chdir(dir.c_str()) != 0) _exit(127);
        std::vector<char*> argv{const_cast<char*>(VELKOR_BINARY)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(VELKOR_BINARY, argv.data());
        _exit(127);
    }
    close(in[0]);
    close(outPipe[1]);
    inFd = in[1];
    outFd = outPipe[0];
    signal(SIGPIPE, SIG_IGN);
}

Session::~Session() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (inFd >= 0) close(inFd);
    if (outFd >= 0) close(outFd);
}

long Session::Elapsed() const { return NowMs() - started; }

void Session::Send(const std::string& line) {
    std::string text = line + "\n";
    if (inFd >= 0 && write(inFd, text.data(), text.size()) < 0) {
        close(inFd);
        inFd = -1;
    }
}

bool Session::ReadSome(int timeoutMs) {
    if (outFd < 0) return false;
    pollfd fd{outFd, POLLIN, 0};
    if (poll(&fd, 1, timeoutMs) <= 0) return false;
    char buf[65536];
    ssize_t r = read(outFd, buf, sizeof buf);
    if (r <= 0) {
        close(outFd);
        outFd = -1;
        return false;
    }
    out.append(buf, size_t(r));
    return true;
}

bool Session::WaitFor(const std::string& text, int timeoutMs) {
    long deadline = NowMs() + timeoutMs;
    for (;;) {
        size_t at = out.find(text, seen);
        if (at != std::string::npos) {
            seen = at + text.size();
            return true;
        }
        long left = deadline - NowMs();
        if (left <= 0 || !ReadSome(int(left))) return false;
    }
}

bool Session::WaitForExit(int timeoutMs) {
    long deadline = NowMs() + timeoutMs;
    while (outFd >= 0 && NowMs() < deadline) ReadSome(int(deadline - NowMs()));
    return outFd < 0;
}

int Session::Finish(int timeoutMs) {
    if (inFd >= 0) close(inFd);
    inFd = -1;
    long deadline = NowMs() + timeoutMs;
    while (outFd >= 0 && NowMs() < deadline) ReadSome(int(deadline - NowMs()));
    if (pid <= 0) return -1;
    int status = 0;
    if (outFd >= 0) kill(pid, SIGKILL); // still talking after the deadline
    waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
