// The engine process for the fuzz driver.
#include "fuzz/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

long NowMs() {
    using namespace std::chrono;
    return long(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

Child::~Child() {
    if (pid > 0 && !reaped) Kill();
    for (int fd : {inFd, outFd, errFd})
        if (fd >= 0) close(fd);
}

bool Child::Start(const std::string& binary, const std::vector<std::string>& args, const std::string& dir) {
    int in[2], out[2], errPipe[2];
    if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(errPipe, O_CLOEXEC)) return false;
    pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        setpgid(0, 0);
        dup2(in[0], 0), dup2(out[1], 1), dup2(errPipe[1], 2);
        std::vector<char*> argv{const_cast<char*>(binary.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (chdir(dir.c_str()) == 0) execv(binary.c_str(), argv.data());
        _exit(127);
    }
    close(in[0]), close(out[1]), close(errPipe[1]);
    inFd = in[1], outFd = out[0], errFd = errPipe[0];
    fcntl(inFd, F_SETFL, fcntl(inFd, F_GETFL) | O_NONBLOCK);
    return true;
}

void Child::Take(int fd, bool isOut) {
    char buf[65536];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
        close(fd);
        (isOut ? outFd : errFd) = -1;
        if (isOut && !partial.empty() && onLine) onLine(partial); // a last line without its newline
        if (isOut && !partial.empty()) ++lines, partial.clear();
        return;
    }
    if (!isOut) {
        if (err.size() < MaxErr) err.append(buf, size_t(n));
        errTail.append(buf, size_t(n));
        for (const char* p : {"runtime error:", "ERROR: AddressSanitizer", "ERROR: LeakSanitizer"})
            if (errTail.find(p) != std::string::npos) sanitizerSeen = true;
        if (errTail.size() > 64) errTail.erase(0, errTail.size() - 64);
        return;
    }
    for (ssize_t i = 0; i < n; ++i) {
        if (buf[i] != '\n') {
            partial += buf[i];
            continue;
        }
        std::string line;
        line.swap(partial);
        ++lines;
        if (onLine) onLine(line);
    }
}

bool Child::ReadSome(int timeoutMs, bool wantWrite, bool* writable) {
    pollfd fds[3];
    int n = 0;
    if (outFd >= 0) fds[n++] = {outFd, POLLIN, 0};
    if (errFd >= 0) fds[n++] = {errFd, POLLIN, 0};
    if (wantWrite && inFd >= 0) fds[n++] = {inFd, POLLOUT, 0};
    if (n == 0) return false;
    int ready = poll(fds, nfds_t(n), timeoutMs);
    if (ready <= 0) return true;
    for (int i = 0; i < n; ++i) {
        if (!fds[i].revents) continue;
        if (fds[i].fd == inFd)
            *writable = true;
        else
            Take(fds[i].fd, fds[i].fd == outFd);
    }
    return true;
}

bool Child::Write(const std::string& bytes, int timeoutMs) {
    size_t done = 0;
    for (long deadline = NowMs() + timeoutMs; done < bytes.size();) {
        if (inFd < 0) return false;
        ssize_t n = write(inFd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) { // the process closed its input or ended
            CloseInput();
            return false;
        }
        long left = deadline - NowMs();
        if (left <= 0) return false;
        bool writable = false;
        if (!ReadSome(int(left), true, &writable) && !writable) {
            // Both outputs closed: the process is gone or going; its input will not drain.
            Reap(false);
            if (reaped) return CloseInput(), false;
            usleep(1000);
        }
    }
    return true;
}

void Child::CloseInput() {
    if (inFd >= 0) close(inFd), inFd = -1;
}

void Child::Pump(int timeoutMs, const std::function<bool()>& done) {
    for (long deadline = NowMs() + timeoutMs;;) {
        if (done && done()) return;
        long left = deadline - NowMs();
        if (left <= 0) return;
        bool unused = false;
        if (!ReadSome(int(left < 50 ? left : 50), false, &unused)) { // outputs closed: nothing more can come
            if (done && done()) return;
            Reap(false);
            if (reaped) return;
            usleep(2000);
        }
    }
}

void Child::Reap(bool block) {
    if (reaped || pid <= 0) return;
    int status = 0;
    pid_t r = waitpid(pid, &status, block ? 0 : WNOHANG);
    if (r != pid) return;
    reaped = true;
    if (WIFEXITED(status)) exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) signal = WTERMSIG(status);
}

bool Child::Ended() {
    Reap(false);
    return reaped && outFd < 0 && errFd < 0;
}

bool Child::WaitEnd(int timeoutMs) {
    for (long deadline = NowMs() + timeoutMs; !Ended();) {
        long left = deadline - NowMs();
        if (left <= 0) return false;
        bool unused = false;
        if (!ReadSome(int(left < 50 ? left : 50), false, &unused)) usleep(2000);
    }
    return true;
}

void Child::Kill() {
    if (pid <= 0 || reaped) return;
    kill(pid, SIGKILL);
    killed = true;
    Reap(true);
    // Whatever the process wrote before it died is still in the pipes.
    for (int guard = 0; guard < 1000 && (outFd >= 0 || errFd >= 0); ++guard) {
        bool unused = false;
        ReadSome(10, false, &unused);
    }
}
