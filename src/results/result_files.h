// The result files: opened for appending, written and closed within one run, with every failure
// to open, write or close remembered so that the program never reports success after one.
#pragma once

#include <cstdio>
#include <string>

struct ResultFile {
  std::string path;
  std::FILE* handle = nullptr;
  bool writeFailed = false;
};

inline const char* const kProgressFileName = "D_Sal_Mejores.txt";
inline const char* const kOptimaFileName = "D_Sal_Optimos.txt";
inline const char* const kOptimumCountFileName = "D_Sal_NumOptimos.txt";
inline const char* const kDistanceFileName = "D_Sal_Distancias.txt";
inline const char* const kSolutionFileName = "D_Sal_Soluciones.txt";
// The five in the order a run's records are committed and the execution record lists offsets.
inline const char* const kResultFileNames[5] = {kProgressFileName, kOptimaFileName,
                                                kOptimumCountFileName, kDistanceFileName,
                                                kSolutionFileName};

// Opens path in append mode; false when it cannot be opened (nothing is truncated either way).
bool openForAppend(ResultFile& file, const std::string& path);

// printf-style append; a failed write is remembered in writeFailed.
void writeFormatted(ResultFile& file, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
void writeText(ResultFile& file, const std::string& text);

// Closes the file if open. False when any write or the close itself failed.
bool closeFile(ResultFile& file);
