#include "core/sandbox/Seal.h"

#include <fcntl.h>
#include <sched.h>
#include <seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

struct FilterRelease {
    void operator()(void* filter) const { seccomp_release(filter); }
};
using Filter = std::unique_ptr<void, FilterRelease>;

// A size from /proc/self/status in bytes: VmData, the data memory the process holds already
// (libraries, thread stacks, a sanitizer's shadow), or VmSize, all it has mapped.
std::uint64_t HeldNow(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string field;
    while (status >> field) {
        if (field == name) {
            std::uint64_t kilobytes = 0;
            status >> kilobytes;
            return kilobytes * 1024;
        }
    }
    return 0;
}

// Never above a lower limit the caller set already, which the process could not raise.
bool Limit(int resource, rlim_t soft, rlim_t hard) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0) return false;
    limit = {std::min(soft, limit.rlim_max), std::min(hard, limit.rlim_max)};
    return ::setrlimit(resource, &limit) == 0;
}

struct Rule {
    int call;
    std::vector<scmp_arg_cmp> only;  // the conditions the call must meet, all of them
};

// Every call decoding needs, measured (strace -f) on the decoders we link, each picture of the
// fuzz corpus among them; the rest kills the process.
std::vector<Rule> Rules() {
    const scmp_arg_cmp noExec = SCMP_A2(SCMP_CMP_MASKED_EQ, PROT_EXEC, 0);
    // Private and not grows-down: the only kinds of mapping the data limit counts (shared pages
    // and stacks are not data). Measured: the decoders map private anonymous memory, stacks
    // with MAP_STACK and malloc's arenas with MAP_NORESERVE, nothing else.
    const scmp_arg_cmp privateData =
        SCMP_A3(SCMP_CMP_MASKED_EQ, MAP_TYPE | MAP_GROWSDOWN, MAP_PRIVATE);
    return {
        // The input, the answer, and a library's last words.
        {SCMP_SYS(read), {SCMP_A0(SCMP_CMP_EQ, STDIN_FILENO)}},
        {SCMP_SYS(write), {SCMP_A0(SCMP_CMP_EQ, STDOUT_FILENO)}},
        {SCMP_SYS(write), {SCMP_A0(SCMP_CMP_EQ, STDERR_FILENO)}},
        // Memory: the heaps, large blocks, thread stacks and their guard pages, and giving
        // pages back (malloc's trimming, a finished thread's stack).
        {SCMP_SYS(mmap), {noExec, privateData}},
        {SCMP_SYS(mprotect), {noExec}},
        {SCMP_SYS(munmap), {}},
        {SCMP_SYS(mremap), {}},
        {SCMP_SYS(brk), {}},
        {SCMP_SYS(madvise), {}},
        // The codecs' worker threads (libde265, dav1d): started, named, waited for, ended.
        {SCMP_SYS(futex), {}},
        // Threads only: a clone that is no thread would be a new process.
        {SCMP_SYS(clone), {SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD)}},
        {SCMP_SYS(set_robust_list), {}},
        {SCMP_SYS(rseq), {}},
        {SCMP_SYS(rt_sigprocmask), {}},
        {SCMP_SYS(prctl), {SCMP_A0(SCMP_CMP_EQ, PR_SET_NAME)}},
        {SCMP_SYS(sched_getaffinity), {}},
        {SCMP_SYS(exit), {}},
        // The sanitizers' runtime: a signal stack for each thread, the thread's id, its
        // spinning locks.
        {SCMP_SYS(sigaltstack), {}},
        {SCMP_SYS(gettid), {}},
        {SCMP_SYS(getpid), {}},
        {SCMP_SYS(sched_yield), {}},
        // The C library's sort asks how much memory there is; clocks, where no vDSO answers.
        {SCMP_SYS(sysinfo), {}},
        {SCMP_SYS(clock_gettime), {}},
        {SCMP_SYS(exit_group), {}},
    };
}

bool AddRules(void* filter) {
    for (const Rule& rule : Rules()) {
        if (seccomp_rule_add_array(filter, SCMP_ACT_ALLOW, rule.call,
                                   static_cast<unsigned>(rule.only.size()), rule.only.data()) != 0)
            return false;
    }
    // clone3 keeps its flags in memory the filter cannot see: refused, so the C library falls
    // back to clone.
    return seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) == 0;
}

bool IsFile(int descriptor) {
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

void Say(const std::string& what) {
    const std::string line = std::string(program_invocation_short_name) + ": " + what + "\n";
    (void)!::write(STDERR_FILENO, line.data(), line.size());
}

// A sealed process may grow no file: its first write to a standard stream that is a file (run
// by hand with 2>log) would end it, and hide why. Said while it can be; standard error then
// writes nowhere, and standard output is left for its first write to end the process.
bool TellOfFileStreams() {
    if (IsFile(STDOUT_FILENO)) {
        Say("standard output is a file, which a sealed process may not write: the answer will "
            "end it; send it through a pipe instead (| cat > FILE)");
    }
    if (!IsFile(STDERR_FILENO)) return true;
    Say("standard error is a file, which a sealed process may not write: nothing more is said "
        "here; a terminal or a pipe (2>&1 | cat) shows everything");
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const bool moved = nowhere >= 0 && ::dup2(nowhere, STDERR_FILENO) == STDERR_FILENO;
    if (nowhere >= 0) ::close(nowhere);
    return moved;
}

}  // namespace

bool EndWithCaller(pid_t caller) {
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0) != 0) return false;
    // The caller may have ended before the line above: the process is then someone else's.
    return caller == 0 || ::getppid() == caller;
}

std::string SealProcess(const SealLimits& limits) {
    if (!TellOfFileStreams()) return "standard error could not be moved off its file";
    const rlim_t memory = static_cast<rlim_t>(HeldNow("VmData:") + limits.memoryBytes);
    // A second bound, on every mapping of any kind: the main thread's stack counts only here,
    // and grows without a bound of its own when the stack limit the caller passed on is
    // unlimited. Twice the memory, so that allocations meet the data limit first: the address
    // space also holds reservations that are no memory (malloc's arenas, stack guards).
    const rlim_t addressSpace = static_cast<rlim_t>(HeldNow("VmSize:") + 2 * limits.memoryBytes);
    // The soft processor limit sends SIGXCPU, which ends the process; the hard one kills it.
    if (!Limit(RLIMIT_DATA, memory, memory) || !Limit(RLIMIT_AS, addressSpace, addressSpace) ||
        !Limit(RLIMIT_CPU, limits.cpuSeconds, limits.cpuSeconds + 1) ||
        !Limit(RLIMIT_FSIZE, 0, 0) || !Limit(RLIMIT_CORE, 0, 0))
        return "the limits could not be set";
    // Loading the filter sets this too (libseccomp's SCMP_FLTATR_CTL_NNP is on by default), so
    // without this call nothing would change; made here to fail plainly if it cannot be set.
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return "no-new-privileges could not be set";
    const Filter filter(seccomp_init(SCMP_ACT_KILL_PROCESS));
    if (filter == nullptr || !AddRules(filter.get())) return "the filter could not be made";
    // Threads already running (any a library started before the seal) are sealed with this
    // one. A call of another architecture (i386 through int 0x80, x32) ends the whole process
    // too, where libseccomp's default would end only the calling thread and leave the rest idle.
    if (seccomp_attr_set(filter.get(), SCMP_FLTATR_CTL_TSYNC, 1) != 0 ||
        seccomp_attr_set(filter.get(), SCMP_FLTATR_ACT_BADARCH, SCMP_ACT_KILL_PROCESS) != 0 ||
        seccomp_load(filter.get()) != 0)
        return "the filter could not be loaded";
    return {};
}
