#include "e2e/Runner.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

static long NowMs() {
    using namespace std::chrono;
    return long(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string TempDir() {
    char tmpl[] = "/tmp/velkor-e2e-XXXXXX";
    return mkdtemp(tmpl) ? tmpl : "/tmp";
}

Session::Session(const std::vector<std::string>& args, const std::string& workDir) {
    dir = workDir.empty() ? TempDir() : workDir;
    int in[2], o[2], e[2];
    if (pipe(in) || pipe(o) || pipe(e)) return;
    started = NowMs();
    pid = fork();
    if (pid == 0) {
        dup2(in[0], 0), dup2(o[1], 1), dup2(e[1], 2);
        for (int fd : {in[0], in[1], o[0], o[1], e[0], e[1]}) close(fd);
        std::vector<char*> argv{const_cast<char*>(VELKOR_BINARY)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (chdir(dir.c_str()) == 0) execv(VELKOR_BINARY, argv.data());
        _exit(127);
    }
    close(in[0]), close(o[1]), close(e[1]);
    inFd = in[1], outFd = o[0], errFd = e[0];
    signal(SIGPIPE, SIG_IGN);
}

Session::~Session() {
    if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    for (int fd : {inFd, outFd, errFd})
        if (fd >= 0) close(fd);
}

long Session::Elapsed() const { return NowMs() - started; }

// Scripts are far smaller than a pipe's buffer, so a blocking write cannot stall on unread output.
void Session::Write(const std::string& text) {
    if (inFd >= 0 && write(inFd, text.data(), text.size()) < 0) close(inFd), inFd = -1;
}

bool Session::Read(long deadline) {
    pollfd fds[2];
    int n = 0;
    for (int fd : {outFd, errFd})
        if (fd >= 0) fds[n++] = {fd, POLLIN, 0};
    long left = deadline - NowMs();
    if (n == 0 || left <= 0) return false;
    if (poll(fds, nfds_t(n), int(left)) <= 0) return true;
    for (int i = 0; i < n; ++i) {
        if (!fds[i].revents) continue;
        bool isOut = fds[i].fd == outFd;
        char buf[65536];
        ssize_t r = read(fds[i].fd, buf, sizeof buf);
        if (r > 0)
            (isOut ? out : err).append(buf, size_t(r));
        else
            close(fds[i].fd), (isOut ? outFd : errFd) = -1;
    }
    return true;
}

bool Session::WaitFor(const std::string& text, int timeoutMs) {
    for (long deadline = NowMs() + timeoutMs;;) {
        size_t at = out.find(text, seen);
        if (at != std::string::npos) return seen = at + text.size(), true;
        if (outFd < 0 || !Read(deadline)) return false;
    }
}

bool Session::WaitForExit(int timeoutMs) {
    for (long deadline = NowMs() + timeoutMs; Read(deadline);) {}
    return outFd < 0 && errFd < 0;
}

int Session::Finish(int timeoutMs) {
    if (inFd >= 0) close(inFd), inFd = -1;
    timedOut = !WaitForExit(timeoutMs);
    if (timedOut) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    return exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

RunResult RunVelkor(const std::vector<std::string>& args, const std::string& input, int timeoutSeconds,
                    const std::string& dir) {
    Session s(args, dir);
    s.Write(input);
    s.Finish(timeoutSeconds * 1000);
    return s;
}

std::string TempFile(const std::string& name, const std::string& content) {
    std::string path = TempDir() + "/" + name;
    std::ofstream(path) << content;
    return path;
}

std::string ReadFile(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

std::string RunResult::Log() const { return ReadFile(dir + "/match.log"); }

bool Matches(const std::string& text, const std::string& pattern) {
    return std::regex_search(text, std::regex(pattern));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

int Count(const std::string& text, const std::string& needle) {
    int n = 0;
    for (size_t pos = text.find(needle); pos != std::string::npos; pos = text.find(needle, pos + needle.size())) ++n;
    return n;
}
