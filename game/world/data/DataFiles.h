// Reading one file of the data archives so that whatever goes wrong names the file:
// "globals/units.txt: Invalid data.".
#pragma once

#include "engine/core/Archive.h"
#include "engine/core/TextReader.h"

#include <functional>
#include <memory>

namespace Data2 {

// The archive behind the global; raises a clear error when it is not open.
const Data::TArchive& OpenedArchive(const std::unique_ptr<Data::TArchive>& archive,
                                    const char* name);

// Runs work, turning any exception it raises into one whose message starts with
// archiveName/fileName.
void WithFileContext(const char* archiveName, const ClassLib::AnsiString& fileName,
                     const std::function<void()>& work);

// Opens the text file and hands a reader of it to read, inside WithFileContext.
void ReadDataFile(const std::unique_ptr<Data::TArchive>& archive, const char* archiveName,
                  const ClassLib::AnsiString& fileName,
                  const std::function<void(Data::TTextReader&)>& read);

// A record count from a text file: negative, or more records of at least tokens tokens
// each than the rest of the stream can hold, is "Invalid data.".
int ReadRecordCount(Data::TTextReader& text, int tokensPerRecord);

} // namespace Data2
