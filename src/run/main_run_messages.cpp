// The main run's Spanish wording.
#include "run/main_run_messages.h"

#include <algorithm>
#include <csignal>

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

std::string interruptionMessage(int signal, std::size_t runsDone, int runCount) {
  return std::string("Interrumpido por ") + (signal == SIGINT ? "SIGINT" : "SIGTERM") +
         " tras la ejecución " + std::to_string(runsDone) + " de " +
         std::to_string(std::max(1, runCount)) + " (sus registros están completos)\n";
}

std::string memoryShortageMessage(int populationSize, int geneCount) {
  return "No hay memoria suficiente para las poblaciones (" + std::to_string(populationSize) +
         " individuos de " + std::to_string(geneCount) + " genes)\n";
}

std::string windowSizeMessage(int windowSize, int populationSize) {
  return "--window-size " + std::to_string(windowSize) +
         " supera el tamaño de la población, que en D_Algoritmo.txt es " +
         std::to_string(populationSize) + "\n";
}

std::string seedMessage(std::uint32_t seed) { return "semilla " + std::to_string(seed) + "\n"; }

}  // namespace jobshop
