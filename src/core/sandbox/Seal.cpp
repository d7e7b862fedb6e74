#include "core/sandbox/Seal.h"

#include <sched.h>
#include <seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

namespace {

struct FilterRelease {
    void operator()(void* filter) const { seccomp_release(filter); }
};
using Filter = std::unique_ptr<void, FilterRelease>;

// The data memory the process holds already (libraries, thread stacks, a sanitizer's shadow),
// which the limit comes on top of.
std::uint64_t DataBytesNow() {
    std::ifstream status("/proc/self/status");
    std::string field;
    while (status >> field) {
        if (field == "VmData:") {
            std::uint64_t kilobytes = 0;
            status >> kilobytes;
            return kilobytes * 1024;
        }
    }
    return 0;
}

bool Limit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit limit{soft, hard};
    return ::setrlimit(resource, &limit) == 0;
}

struct Rule {
    int call;
    std::optional<scmp_arg_cmp> only;  // the one condition the call must meet, if any
};

// Every call decoding needs, measured (strace -f) on the decoders we link, each picture of the
// fuzz corpus among them; the rest kills the process.
std::vector<Rule> Rules() {
    const scmp_arg_cmp noExec = SCMP_A2(SCMP_CMP_MASKED_EQ, PROT_EXEC, 0);
    return {
        // The input, the answer, and a library's last words.
        {SCMP_SYS(read), SCMP_A0(SCMP_CMP_EQ, STDIN_FILENO)},
        {SCMP_SYS(write), SCMP_A0(SCMP_CMP_EQ, STDOUT_FILENO)},
        {SCMP_SYS(write), SCMP_A0(SCMP_CMP_EQ, STDERR_FILENO)},
        // Memory: the heaps, large blocks, thread stacks and their guard pages, and giving
        // pages back (malloc's trimming, a finished thread's stack).
        {SCMP_SYS(mmap), noExec},
        {SCMP_SYS(mprotect), noExec},
        {SCMP_SYS(munmap), {}},
        {SCMP_SYS(mremap), {}},
        {SCMP_SYS(brk), {}},
        {SCMP_SYS(madvise), {}},
        // The codecs' worker threads (libde265, dav1d): started, named, waited for, ended.
        {SCMP_SYS(futex), {}},
        // Threads only: a clone that is no thread would be a new process.
        {SCMP_SYS(clone), SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD)},
        {SCMP_SYS(set_robust_list), {}},
        {SCMP_SYS(rseq), {}},
        {SCMP_SYS(rt_sigprocmask), {}},
        {SCMP_SYS(prctl), SCMP_A0(SCMP_CMP_EQ, PR_SET_NAME)},
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
        const unsigned count = rule.only ? 1 : 0;
        if (seccomp_rule_add_array(filter, SCMP_ACT_ALLOW, rule.call, count,
                                   rule.only ? &*rule.only : nullptr) != 0)
            return false;
    }
    // clone3 keeps its flags in memory the filter cannot see: refused, so the C library falls
    // back to clone.
    return seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) == 0;
}

}  // namespace

std::string SealProcess(const SealLimits& limits) {
    const rlim_t memory = static_cast<rlim_t>(DataBytesNow() + limits.memoryBytes);
    // The soft processor limit sends SIGXCPU, which ends the process; the hard one kills it.
    if (!Limit(RLIMIT_DATA, memory, memory) ||
        !Limit(RLIMIT_CPU, limits.cpuSeconds, limits.cpuSeconds + 1) ||
        !Limit(RLIMIT_FSIZE, 0, 0) || !Limit(RLIMIT_CORE, 0, 0))
        return "the limits could not be set";
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return "no-new-privileges could not be set";
    const Filter filter(seccomp_init(SCMP_ACT_KILL_PROCESS));
    if (filter == nullptr || !AddRules(filter.get())) return "the filter could not be made";
    // Threads already running (image readers' pools) are sealed with this one.
    if (seccomp_attr_set(filter.get(), SCMP_FLTATR_CTL_TSYNC, 1) != 0 ||
        seccomp_load(filter.get()) != 0)
        return "the filter could not be loaded";
    return {};
}
