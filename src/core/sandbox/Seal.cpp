#include "core/sandbox/Seal.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/capability.h>
#include <linux/futex.h>
#include <sched.h>
#include <seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
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

// The tasks (processes and threads) of a user, as the kernel counts them against the thread
// bound; nothing when they cannot be counted (no /proc). A process hidden from this one
// (hidepid) belongs to another user, whose tasks do not count.
std::optional<rlim_t> TasksOf(uid_t user) {
    std::error_code error;
    std::filesystem::directory_iterator processes("/proc", error);
    if (error) return std::nullopt;
    rlim_t tasks = 0;
    for (const auto& process : processes) {
        const std::string name = process.path().filename();
        unsigned pid = 0;
        if (std::from_chars(name.data(), name.data() + name.size(), pid).ptr !=
            name.data() + name.size())
            continue;
        // The real user, which the kernel counts by, comes first on the Uid line.
        std::ifstream status(process.path() / "status");
        std::string field;
        uid_t owner = 0;
        rlim_t threads = 0;
        while (status >> field) {
            if (field == "Uid:") status >> owner;
            if (field == "Threads:" && (status >> threads)) break;
        }
        if (owner == user) tasks += threads;
    }
    return tasks;
}

// An id of the kernel's own (/proc/sys/kernel/overflowuid, overflowgid): the user and group
// that own nothing, looked up without the name service, which a decoder must not load.
unsigned OverflowId(const char* file) {
    unsigned id = 65534;
    std::ifstream(file) >> id;
    return id;
}

using CapabilitySets = std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3>;

std::optional<CapabilitySets> Capabilities() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    CapabilitySets sets{};
    if (::syscall(SYS_capget, &header, sets.data()) != 0) return std::nullopt;
    return sets;
}

bool Holds(int capability) {
    const std::optional<CapabilitySets> sets = Capabilities();
    return sets && ((*sets)[capability / 32].effective >> (capability % 32) & 1) != 0;
}

// None effective, permitted or inheritable, so none ambient either (a subset of the last two).
bool HoldsNoCapability() {
    const std::optional<CapabilitySets> sets = Capabilities();
    if (!sets) return false;
    for (const __user_cap_data_struct& set : *sets)
        if ((set.effective | set.permitted | set.inheritable) != 0) return false;
    return true;
}

bool EmptyBoundingSet() {
    for (int capability = 0;; ++capability) {
        const int held = ::prctl(PR_CAPBSET_READ, capability, 0, 0, 0);
        if (held < 0) return errno == EINVAL;  // past the kernel's last capability
        if (held == 1 && ::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0) return false;
    }
}

bool IsRoot() {
    uid_t real = 0;
    uid_t effective = 0;
    uid_t saved = 0;
    return ::getresuid(&real, &effective, &saved) != 0 || real == 0 || effective == 0 || saved == 0;
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

// Namespaces: a clone with any of these would make something other than a thread of this
// process, in a world of its own.
constexpr scmp_datum_t kNamespaceFlags = CLONE_NEWNS | CLONE_NEWCGROUP | CLONE_NEWUTS |
                                         CLONE_NEWIPC | CLONE_NEWUSER | CLONE_NEWPID |
                                         CLONE_NEWNET | CLONE_NEWTIME;

// A rule for each value the argument may take; the call with any other value ends the process.
void AddEach(std::vector<Rule>& rules, int call, unsigned argument,
             std::initializer_list<scmp_datum_t> values) {
    for (const scmp_datum_t value : values)
        rules.push_back({call, {scmp_arg_cmp{argument, SCMP_CMP_EQ, value, 0}}});
}

// Every call decoding needs, measured (strace -f) on the decoders we link, each picture of the
// fuzz corpus and large photos of every format among them; the rest kills the process.
std::vector<Rule> Rules() {
    const scmp_arg_cmp noExec = SCMP_A2(SCMP_CMP_MASKED_EQ, PROT_EXEC, 0);
    // Private and not grows-down: the only kinds of mapping the data limit counts (shared pages
    // and stacks are not data). Measured: the decoders map private anonymous memory, stacks
    // with MAP_STACK and malloc's arenas with MAP_NORESERVE, nothing else.
    const scmp_arg_cmp privateData =
        SCMP_A3(SCMP_CMP_MASKED_EQ, MAP_TYPE | MAP_GROWSDOWN, MAP_PRIVATE);
    std::vector<Rule> rules{
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
        // The codecs' worker threads (libde265, dav1d): started, named, waited for, ended;
        // threads only, in this process's world: anything else would be a new process.
        {SCMP_SYS(clone),
         {SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD | kNamespaceFlags, CLONE_THREAD)}},
        {SCMP_SYS(set_robust_list), {}},
        {SCMP_SYS(rseq), {}},
        {SCMP_SYS(rt_sigprocmask), {}},
        {SCMP_SYS(prctl), {SCMP_A0(SCMP_CMP_EQ, PR_SET_NAME)}},
        // The processors it may use. dav1d asks by the id of the thread that opens it, which
        // libheif's tile threads do, ids no filter made before them can know; so any id.
        {SCMP_SYS(sched_getaffinity), {}},
        {SCMP_SYS(exit), {}},
        // A timed wait (a thread pool's, the sanitizers') that a stop signal interrupted goes
        // on through this when the process is continued.
        {SCMP_SYS(restart_syscall), {}},
        // The sanitizers' runtime: a signal stack for each thread, the thread's id, its
        // spinning locks.
        {SCMP_SYS(sigaltstack), {}},
        {SCMP_SYS(gettid), {}},
        {SCMP_SYS(getpid), {}},
        {SCMP_SYS(sched_yield), {}},
        // The C library's sort asks how much memory there is.
        {SCMP_SYS(sysinfo), {}},
        {SCMP_SYS(exit_group), {}},
    };
    // Giving pages back: malloc's trimming and a finished thread's stack.
#if defined(__SANITIZE_ADDRESS__)
    // The address sanitizer's runtime maps shadow for new memory without huge pages and out
    // of core dumps.
    AddEach(rules, SCMP_SYS(madvise), 2, {MADV_DONTNEED, MADV_NOHUGEPAGE, MADV_DONTDUMP});
#else
    AddEach(rules, SCMP_SYS(madvise), 2, {MADV_DONTNEED});
#endif
    // Waiting and waking, as measured: locks (wait, wake), condition variables and thread
    // ends (waits against the time of day, private and shared); not the requeueing and
    // priority-inheriting kinds, where the kernel's own faults were.
    AddEach(
        rules, SCMP_SYS(futex), 1,
        {FUTEX_WAIT_PRIVATE, FUTEX_WAKE_PRIVATE, FUTEX_WAIT_BITSET_PRIVATE | FUTEX_CLOCK_REALTIME,
         FUTEX_WAIT_BITSET | FUTEX_CLOCK_REALTIME});
    // The clocks read, where no vDSO answers: the time of day (the colour library dates the
    // profiles it makes) and the steady clock; the processor clocks of other processes
    // (negative ids) are not among them.
    AddEach(rules, SCMP_SYS(clock_gettime), 0, {CLOCK_REALTIME, CLOCK_MONOTONIC});
    return rules;
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

std::string DropPrivileges() {
    // First, while root's capability to take from the bounding set is still held.
    if (Holds(CAP_SETPCAP) && !EmptyBoundingSet()) return "the bounding set could not be emptied";
    if (IsRoot()) {
        const gid_t group = OverflowId("/proc/sys/kernel/overflowgid");
        const uid_t user = OverflowId("/proc/sys/kernel/overflowuid");
        // Leaving root clears the effective and permitted capabilities.
        if (::setgroups(0, nullptr) != 0 || ::setresgid(group, group, group) != 0 ||
            ::setresuid(user, user, user) != 0)
            return "root could not become nobody";
    }
    // What a player's process may still hold: capabilities its program was given, or that
    // were handed down to it.
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    CapabilitySets none{};
    if (::syscall(SYS_capset, &header, none.data()) != 0 || !HoldsNoCapability())
        return "the capabilities could not be given up";
    return {};
}

std::string SealProcess(const SealLimits& limits) {
    // Neither root nor a capability to raise its limits is held to the thread bound.
    if (IsRoot() || !HoldsNoCapability()) return "it still holds privileges";
    if (!TellOfFileStreams()) return "standard error could not be moved off its file";
    const std::optional<rlim_t> tasks = TasksOf(::getuid());
    if (!tasks) return "the threads of its user could not be counted";
    const rlim_t threads = *tasks + limits.threads;
    const rlim_t memory = static_cast<rlim_t>(HeldNow("VmData:") + limits.memoryBytes);
    // A second bound, on every mapping of any kind: the main thread's stack counts only here,
    // and grows without a bound of its own when the stack limit the caller passed on is
    // unlimited. Twice the memory, so that allocations meet the data limit first: the address
    // space also holds reservations that are no memory (malloc's arenas, stack guards).
    const rlim_t addressSpace = static_cast<rlim_t>(HeldNow("VmSize:") + 2 * limits.memoryBytes);
    // The soft processor limit sends SIGXCPU, which ends the process; the hard one kills it.
    if (!Limit(RLIMIT_DATA, memory, memory) || !Limit(RLIMIT_AS, addressSpace, addressSpace) ||
        !Limit(RLIMIT_CPU, limits.cpuSeconds, limits.cpuSeconds + 1) ||
        !Limit(RLIMIT_FSIZE, 0, 0) || !Limit(RLIMIT_CORE, 0, 0) ||
        !Limit(RLIMIT_NPROC, threads, threads))
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
