// Interactive runs of the binary for the protocol sessions.
#include "e2e/Session.h"

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
    int in[2], output[2];
    if (pipe(in) || pipe(output)) return;
    started = NowMs();
    pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(output[1], 1);
        dup2(output[1], 2);
        for (int fd : {in[0], in[1], output[0], output[1]}) close(fd);
        std::vector<char*> argv{const_cast<char*>(VELKOR_BINARY)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (chdir(dir.c_str()) == 0) execv(VELKOR_BINARY, argv.data());
        _exit(127);
    }
    close(in[0]);
    close(output[1]);
    inFd = in[1];
    outFd = output[0];
    signal(SIGPIPE, SIG_IGN);
}

Session::~Session() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    for (int fd : {inFd, outFd})
        if (fd >= 0) close(fd);
}

long Session::Elapsed() const { return NowMs() - started; }

void Session::Send(const std::string& line) {
    std::string text = line + "\n";
    if (inFd >= 0 && write(inFd, text.data(), text.size()) < 0) {
        close(inFd);
        inFd = -1;
    }
}

bool Session::WaitFor(const std::string& text, int timeoutMs) {
    long deadline = NowMs() + timeoutMs;
    for (;;) {
        size_t at = out.find(text, seen);
        if (at != std::string::npos) {
            seen = at + text.size();
            return true;
        }
        pollfd fd{outFd, POLLIN, 0};
        long left = deadline - NowMs();
        if (outFd < 0 || left <= 0 || poll(&fd, 1, int(left)) <= 0) return false;
        char buf[65536];
        ssize_t r = read(outFd, buf, sizeof buf);
        if (r <= 0) {
            close(outFd);
            outFd = -1;
        } else {
            out.append(buf, size_t(r));
        }
    }
}

bool Session::WaitForExit(int timeoutMs) {
    WaitFor(std::string(1, '\0'), timeoutMs); // never printed: reads to the end
    return outFd < 0;
}

int Session::Finish() {
    if (inFd >= 0) close(inFd);
    inFd = -1;
    if (!WaitForExit()) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
