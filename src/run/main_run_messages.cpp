// The main run's Spanish wording.
#include "run/main_run_messages.h"

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace jobshop {

std::string outputOpenMessage() { return "No se ha podido abrir el archivo de salida"; }

std::string recordCommitFailureMessage(const std::string& resultFile, int run) {
  return "No se ha podido escribir el archivo de salida " + resultFile + "; la ejecución " +
         std::to_string(run) + " no deja registros\n";
}

std::string executionRecordFailureMessage(const std::string& path, const std::string& reason) {
  return "No se ha podido escribir el archivo de salida " + path + " (" + reason + ")\n";
}

std::string outputOnInputMessage(const std::string& output, const std::string& input) {
  return "El archivo de salida " + output + " es el mismo archivo que " + input +
         ", que el programa lee; no se ejecuta para no escribir en él (quite el enlace)\n";
}

std::string outputOnRecordMessage(const std::string& output, const std::string& record) {
  return "El archivo de salida " + output + " es el mismo archivo que " + record +
         ", otro registro de la carpeta; no se ejecuta para no mezclarlos (quite el enlace)\n";
}

std::string interruptionMessage(int signal, std::size_t runsDone, int runCount) {
  return std::string("Interrumpido por ") + (signal == SIGINT ? "SIGINT" : "SIGTERM") +
         " tras la ejecución " + std::to_string(runsDone) + " de " +
         std::to_string(std::max(1, runCount)) + " (sus registros están completos)\n";
}

std::string memoryShortageMessage(int populationSize, int geneCount) {
  return "No hay memoria suficiente para las poblaciones (" + std::to_string(populationSize) +
         " individuos de " + std::to_string(geneCount) + " genes)\n";
}

namespace {

std::string mebibytes(double bytes) {
  return std::to_string(static_cast<long long>(bytes / 1048576));
}

std::string scientific(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1e", value);
  return text;
}

}  // namespace

std::string runDemandMessage(const RunDemandExcess& excess, const Parameters& parameters,
                             int geneCount) {
  if (excess.kind == RunDemandExcess::Kind::kMemory)
    return "No hay memoria suficiente para las poblaciones (" +
           std::to_string(parameters.populationSize) + " individuos de " +
           std::to_string(geneCount) + " genes): necesitan " + mebibytes(excess.needed) +
           " MiB y este proceso puede usar " + mebibytes(excess.available) + " MiB\n";
  return "mateCandidates " + std::to_string(parameters.mateCandidates) + " pide al menos " +
         scientific(excess.needed) +
         " comparaciones de genes en la selección de parejas de cada ejecución (N/2 × "
         "mateCandidates × L por generación), más de las " +
         scientific(excess.available) + " de un día de cálculo; ninguna ejecución terminaría\n";
}

std::string windowSizeMessage(int windowSize, int populationSize) {
  return "--window-size " + std::to_string(windowSize) +
         " supera el tamaño de la población, que en D_Algoritmo.txt es " +
         std::to_string(populationSize) + "\n";
}

std::string seedMessage(std::uint32_t seed) { return "semilla " + std::to_string(seed) + "\n"; }

}  // namespace jobshop
