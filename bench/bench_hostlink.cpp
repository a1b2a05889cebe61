// SPDX-License-Identifier: GPL-3.0-or-later
// Round trips over the host link: a request from the program's link component to a live
// stand-in host and its reply, 1,000 in a row, with the median and the 99th percentile of
// the single round trips, the replies lost, and the open descriptors of the program and of
// the host before and after (a leak shows as growth). The host runs as a child process in a
// private link folder.

#include "hostlink/WendralDemon.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

QString hostBinary()
{
    const QString configured = qEnvironmentVariable("QUILLON_HOST_BINARY");
    return configured.isEmpty() ? QCoreApplication::applicationDirPath() + "/../quillon-host"
                                : configured;
}

// Open descriptors of a process.
int openDescriptors(qint64 pid)
{
    return int(QDir(QStringLiteral("/proc/%1/fd").arg(pid))
                   .entryList(QDir::NoDotAndDotDot | QDir::System)
                   .size());
}

// A private link folder, the host for it, and a client that finds the host through the
// registry file.
struct LinkedClient
{
    QTemporaryDir dir;
    QProcess host;
    std::unique_ptr<TkdbDemonClient> client;

    bool start()
    {
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
        QFile registry(dir.filePath("registry.ini"));
        if (!registry.open(QIODevice::WriteOnly))
            return false;
        registry.write("[\\Software\\Orvan\\wendral\\demon]\nViewerHandle=bench\n");
        registry.close();
        qputenv("QUILLON_REGISTRY", registry.fileName().toLocal8Bit());
        host.start(hostBinary(), {"--suffix", "bench"});
        if (!host.waitForReadyRead(30000))
            return false;
        client = std::make_unique<TkdbDemonClient>();
        client->SetMultiStart(true);
        return client->ServerEntity().WindowHandle() != 0;
    }
    ~LinkedClient()
    {
        client.reset();
        host.terminate();
        host.waitForFinished(10000);
    }
};

void BM_RoundTrips(benchmark::State &state)
{
    LinkedClient link;
    if (!link.start()) {
        state.SkipWithError("the host did not start");
        return;
    }
    std::vector<double> micros;
    int lost = 0;
    // After one round trip every lazily opened descriptor is open.
    link.client->QueryString(QStringLiteral("warm-up"));
    const int ownBefore = openDescriptors(QCoreApplication::applicationPid());
    const int hostBefore = openDescriptors(link.host.processId());
    for (auto _ : state) {
        micros.clear();
        for (int i = 0; i < 1000; ++i) {
            const QString question = QStringLiteral("ping %1").arg(i);
            const auto begin = std::chrono::steady_clock::now();
            const QString reply = link.client->QueryString(question);
            const auto end = std::chrono::steady_clock::now();
            lost += reply != question;
            micros.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
            // The host logs every message; drain its output so that it never blocks.
            link.host.readAllStandardOutput();
        }
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["max_us"] = micros.back();
    state.counters["lost"] = lost;
    state.counters["fds_before"] = ownBefore;
    state.counters["fds_after"] = openDescriptors(QCoreApplication::applicationPid());
    state.counters["host_fds_before"] = hostBefore;
    state.counters["host_fds_after"] = openDescriptors(link.host.processId());
    if (lost > 0)
        state.SkipWithError("replies were lost");
}
BENCHMARK(BM_RoundTrips)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
