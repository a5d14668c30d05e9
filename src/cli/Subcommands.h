#pragma once
// korvel-cli's subcommands. Each lives in its own file and registers here.

#include <QStringList>
#include <vector>

namespace korvel::cli {

struct Subcommand {
    const char* name;
    const char* summary;
    // Receives the arguments after the subcommand's name, with the program name in front.
    int (*run)(const QStringList& arguments);
};

const std::vector<Subcommand>& Subcommands();

int RunMeasure(const QStringList& arguments);
int RunRead(const QStringList& arguments);
int RunRealtime(const QStringList& arguments);
int RunTemperature(const QStringList& arguments);
int RunPorts(const QStringList& arguments);
int RunInfo(const QStringList& arguments);
int RunExport(const QStringList& arguments);
int RunComments(const QStringList& arguments);
int RunDivisors(const QStringList& arguments);
int RunPlot(const QStringList& arguments);
int RunSpectrum(const QStringList& arguments);
int RunStats(const QStringList& arguments);
int RunSpectrogram(const QStringList& arguments);
int RunReport(const QStringList& arguments);
int RunSimulate(const QStringList& arguments);

}  // namespace korvel::cli
