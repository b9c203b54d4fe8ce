// In-process figures, each beside its floor: reading the registration,
// one installation run, and the two proposal searches at two sizes.
//   quillop_benchmarks <prefix with a realistic system.reg> [benchmark flags]
#include "app/quillop_dlg.h"
#include "install/name_proposals.h"
#include "linux/prefixes/prefix_choice.h"
#include "linux/prefixes/prefix_search.h"
#include "platform/dialog.h"
#include "platform/linux/plain_file.h"
#include "platform/linux/registry_files.h"
#include "platform/linux/wine_prefix.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string g_registryPrefix;
const std::string kKey = "CRV5.Image\\shell\\open\\command";

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(std::size_t(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), std::streamsize(bytes.size()));
    return bytes;
}

void writeAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The file read and searched each time, as on the first question of a
// run: later ones of an unchanged file are answered from what it gave.
void RegistryRead(benchmark::State& state)
{
    for (auto _ : state) {
        const PlainFileRead file = ReadPlainFile(g_registryPrefix + "/system.reg", kRegistryFileLimit);
        auto value = Registry::DefaultValueInText(file.bytes, "Software\\Classes\\" + kKey);
        if (!value)
            state.SkipWithError("the registration was not found");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(RegistryRead)->Unit(benchmark::kMicrosecond);

// Floor: read the file and find the key's section header with a plain search.
void RegistryReadFloor(benchmark::State& state)
{
    for (auto _ : state) {
        std::string text = readAll(g_registryPrefix + "/system.reg");
        benchmark::DoNotOptimize(text.find("[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command]"));
    }
}
BENCHMARK(RegistryReadFloor)->Unit(benchmark::kMicrosecond);

// A home folder holding 50 prefixes across the front-ends, each with a
// 2 MB system.reg; Corvane is registered in three of them.
struct PrefixHome {
    QTemporaryDir dir;
    std::vector<std::string> systemRegs;

    PrefixHome()
    {
        const std::string withHost = readAll(g_registryPrefix + "/system.reg");
        std::string withoutHost = withHost;
        withoutHost.replace(withoutHost.find("CRV5.Image"), 10, "CRV4.Image");
        const std::string home = dir.path().toStdString();
        const std::vector<std::string> places
            = {".local/share/wineprefixes/p", ".local/share/bottles/bottles/b",
               ".local/share/Steam/steamapps/compatdata/", ".PlayOnLinux/wineprefix/p", ".cxoffice/c"};
        for (int i = 0; i < 50; ++i) {
            std::string prefix = home + "/" + places[std::size_t(i % 5)] + std::to_string(i);
            if (i % 5 == 2)
                prefix += "/pfx";
            QDir().mkpath(QString::fromStdString(prefix + "/drive_c"));
            writeAll(prefix + "/user.reg", "WINE REGISTRY Version 2\n");
            writeAll(prefix + "/system.reg", i % 17 == 3 ? withHost : withoutHost);
            systemRegs.push_back(prefix + "/system.reg");
        }
    }
};

void PrefixSearchHome(benchmark::State& state)
{
    const PrefixHome home;
    for (auto _ : state) {
        // As a first search: the registry answers kept from the last round
        // are for files that have changed since.
        state.PauseTiming();
        for (const std::string& file : home.systemRegs)
            for (const char* name : {"/system.reg", "/user.reg"})
                ::utimensat(AT_FDCWD, (file.substr(0, file.rfind('/')) + name).c_str(), nullptr, 0);
        state.ResumeTiming();
        const auto withHost = PrefixesWithHost(PrefixSearch::FindPrefixes({home.dir.path().toStdString(), "", "", ""}));
        if (withHost.size() != 3)
            state.SkipWithError("Corvane was not found in exactly three prefixes");
    }
}
BENCHMARK(PrefixSearchHome)->Unit(benchmark::kMillisecond);

// Floor: read the 50 system.reg files once, each searched plainly for the key.
void PrefixSearchHomeFloor(benchmark::State& state)
{
    const PrefixHome home;
    for (auto _ : state) {
        int found = 0;
        for (const std::string& file : home.systemRegs)
            found += readAll(file).find("[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command]")
                != std::string::npos;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(PrefixSearchHomeFloor)->Unit(benchmark::kMillisecond);

// A prefix whose Vorns folder lists 20,000 Vorns of the host's own.
struct InstallSetup {
    QTemporaryDir dir;
    std::string vorns;
    std::string listed;

    InstallSetup()
    {
        const std::string root = dir.path().toStdString();
        vorns = root + "/drive_c/Corvane/Vorns";
        QDir().mkpath(QString::fromStdString(vorns));
        for (int i = 0; i < 20000; ++i)
            listed += "\r\n\r\nVornName:Host " + std::to_string(i) + "\r\nVornFile:Host " + std::to_string(i)
                + ".vrn\r\nStepSize:250\r\nVornsAcross:4\r\nVornsDown:2\r\nVornPlacementMode:0\r\n"
                  "VornSelectionMode:0\r\n\r\n";
        writeAll(root + "/system.reg",
                 "WINE REGISTRY Version 2\n\n[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command] 1\n"
                 "@=\"C:\\\\Corvane\\\\Corvane.exe %1\"\n");
        reset();
        WinePrefix::use(root);
    }

    // Back to the host's own Vorns only.
    void reset() const
    {
        for (const QString& file : QDir(QString::fromStdString(vorns)).entryList({QStringLiteral("*.vrn")}))
            QFile::remove(QString::fromStdString(vorns) + QLatin1Char('/') + file);
        writeAll(vorns + "/Vorns.ctl", listed);
    }
};

void InstallRun(benchmark::State& state)
{
    InstallSetup setup;
    CQuillopDlg dialog;
    Dialog::setMainWindow(&dialog);
    QTimer::singleShot(0, [&] {
        for (auto _ : state) {
            state.PauseTiming();
            setup.reset();
            state.ResumeTiming();
            dialog.OnInstall();
        }
        if (dialog.GetDlgItemText(1000).rfind("Done installing 8", 0) != 0)
            state.SkipWithError("the run did not install eight Vorns");
        dialog.EndDialog(1);
    });
    dialog.DoModal();
    Dialog::setMainWindow(nullptr);
}
BENCHMARK(InstallRun)->Unit(benchmark::kMillisecond)->UseRealTime();

// Floor: the same bytes with the same flushes, eight files and eight
// appends, each file whole before it has its name and its name on the disk
// before its block.
void InstallRunFloor(benchmark::State& state)
{
    InstallSetup setup;
    std::vector<std::pair<std::string, std::string>> entries;
    for (int k = 1; k <= 8; ++k) {
        QFile image(QStringLiteral(":/VRN/IDR_VRN%1").arg(k));
        image.open(QIODevice::ReadOnly);
        entries.emplace_back(image.readAll().toStdString(), std::string(190, 'r'));
    }
    for (auto _ : state) {
        state.PauseTiming();
        setup.reset();
        state.ResumeTiming();
        const int control = ::open((setup.vorns + "/Vorns.ctl").c_str(), O_RDWR | O_APPEND);
        const int folder = ::open(setup.vorns.c_str(), O_RDONLY | O_DIRECTORY);
        int k = 0;
        for (const auto& [image, block] : entries) {
            const int file = ::open(setup.vorns.c_str(), O_TMPFILE | O_WRONLY, 0644);
            benchmark::DoNotOptimize(::write(file, image.data(), image.size()));
            ::fsync(file);
            const std::string self = "/proc/self/fd/" + std::to_string(file);
            ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, (setup.vorns + "/floor" + std::to_string(++k) + ".vrn").c_str(),
                     AT_SYMLINK_FOLLOW);
            ::close(file);
            ::fsync(folder);
            benchmark::DoNotOptimize(::write(control, block.data(), block.size()));
        }
        ::fsync(control);
        ::close(folder);
        ::close(control);
    }
}
BENCHMARK(InstallRunFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

void ProposeVornNameListed(benchmark::State& state)
{
    const int listed = int(state.range(0));
    std::string text;
    for (int n = 2; n <= listed + 1; ++n)
        text += "\r\n\r\nVornName:Leaf" + std::to_string(n) + "\r\nVornFile:Leaf" + std::to_string(n)
            + ".vrn\r\nStepSize:250\r\n";
    const std::string expected = "Leaf" + std::to_string(listed + 2);
    for (auto _ : state) {
        if (ProposeVornName(text, "Leaf") != expected)
            state.SkipWithError("the proposal differs from the plain search's");
    }
}
BENCHMARK(ProposeVornNameListed)->Arg(500)->Arg(5000)->Unit(benchmark::kMicrosecond);

void ProposeFileNamePresent(benchmark::State& state)
{
    const int present = int(state.range(0));
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/drive_c/Vorns";
    QDir().mkpath(QString::fromStdString(folder));
    writeAll(folder + "/Leaf.vrn", "");
    for (int n = 2; n <= present; ++n)
        writeAll(folder + "/Leaf" + std::to_string(n) + ".vrn", "");
    WinePrefix::use(dir.path().toStdString());
    const std::string expected = "Leaf" + std::to_string(present + 1) + ".vrn";
    for (auto _ : state) {
        if (ProposeFileName("C:\\Vorns", "Leaf.vrn") != expected)
            state.SkipWithError("the proposal differs from the plain search's");
    }
}
BENCHMARK(ProposeFileNamePresent)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: quillop_benchmarks <prefix> [benchmark flags]\n");
        return 2;
    }
    g_registryPrefix = argv[1];
    argv[1] = argv[0];
    --argc;
    ++argv;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
