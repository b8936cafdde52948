// Times skerrow against a plain byte copy of the same file.
//
//   run_benchmark SKERROW GENERATOR WORK_DIR SIZE PAIRS
//
// Makes a generated data file of SIZE bytes in WORK_DIR once (kept for later
// runs), checks that skerrow's cleaned copy is the expected one, then runs
// `dd bs=256K`, skerrow and `cat` in turn PAIRS times with a warm page cache
// and prints the median wall times, skerrow's ratio to dd and the peak
// resident memory. Needs a POSIX system.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct run {
    double seconds;
    long peak_kib;
};

run time_command(const std::vector<std::string>& argv, bool quiet)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (quiet) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
        }
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "run_benchmark: %s failed (status %d)\n", argv[0].c_str(), status);
        std::exit(1);
    }
    return {seconds, usage.ru_maxrss};
}

bool same_contents(const std::string& a, const std::string& b)
{
    std::ifstream fa(a, std::ios::binary);
    std::ifstream fb(b, std::ios::binary);
    std::vector<char> ba(1 << 20);
    std::vector<char> bb(1 << 20);
    while (fa && fb) {
        fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
        fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
        if (fa.gcount() != fb.gcount() || !std::equal(ba.begin(), ba.begin() + fa.gcount(), bb.begin())) {
            return false;
        }
    }
    return !fa && !fb;
}

std::string make_data_file(const std::string& generator, unsigned long long size)
{
    const std::string name = "bench-" + std::to_string(size);
    if (access((name + ".dat").c_str(), R_OK) != 0 || access((name + ".expected").c_str(), R_OK) != 0) {
        std::printf("Generating %s.dat (%llu bytes)...\n", name.c_str(), size);
        time_command({generator, name + ".dat", std::to_string(size), "1", "--expect", name + ".expected"}, false);
    }
    return name;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: run_benchmark SKERROW GENERATOR WORK_DIR SIZE PAIRS\n");
        return 2;
    }
    const std::string skerrow = argv[1];
    const std::string generator = argv[2];
    if (chdir(argv[3]) != 0) {
        std::perror(argv[3]);
        return 1;
    }
    const unsigned long long size = std::strtoull(argv[4], nullptr, 10);
    const int pairs = std::atoi(argv[5]);

    const std::string big = make_data_file(generator, size);
    const std::string small = make_data_file(generator, 1 << 20);
    const std::string in = big + ".dat";

    const long small_peak = time_command({skerrow, small}, true).peak_kib;
    time_command({skerrow, big}, true);
    if (!same_contents(big + "Skerrow.dat", big + ".expected")) {
        std::fprintf(stderr, "run_benchmark: the cleaned copy of %s differs from the expected one\n", in.c_str());
        return 1;
    }
    time_command({"cat", in}, true);  // warms the page cache

    std::vector<double> dd_times, skerrow_times, cat_times;
    long skerrow_peak = 0;
    for (int i = 0; i < pairs; ++i) {
        dd_times.push_back(time_command({"dd", "if=" + in, "of=copy.dat", "bs=256K", "status=none"}, false).seconds);
        const run r = time_command({skerrow, big}, true);
        skerrow_times.push_back(r.seconds);
        skerrow_peak = std::max(skerrow_peak, r.peak_kib);
        cat_times.push_back(time_command({"sh", "-c", "cat " + in + " > copy.dat"}, false).seconds);
    }
    std::remove("copy.dat");
    std::remove((big + "Skerrow.dat").c_str());
    std::remove((small + "Skerrow.dat").c_str());

    const double mib = static_cast<double>(size) / (1 << 20);
    const double dd = median(dd_times);
    std::printf("\n%s: %.0f MiB, %d runs each, median wall time\n\n", in.c_str(), mib, pairs);
    std::printf("| command          | seconds | MiB/s  | ratio to dd |\n");
    std::printf("|------------------|--------:|-------:|------------:|\n");
    for (const auto& [name, times] : {std::pair<const char*, const std::vector<double>&>{"dd bs=256K", dd_times},
                                      {"skerrow", skerrow_times},
                                      {"cat IN > OUT", cat_times}}) {
        const double t = median(times);
        std::printf("| %-16s | %7.3f | %6.0f | %11.2f |\n", name, t, mib / t, t / dd);
    }
    std::printf("\nskerrow peak resident memory: %ld KiB on 1 MiB, %ld KiB on %.0f MiB\n", small_peak, skerrow_peak,
                mib);
    return 0;
}
