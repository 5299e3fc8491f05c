// Writing and reading .sclav files: one ProtectedRecord per file, through the wide file calls.
#pragma once

#include <string>

#include "protected_record.h"

// The writer's record lives for the whole program: its key chunks are filled by the first file of a run and
// stay for the files after it, once the key text has been wiped.
ProtectedRecord& WriterRecord();
// Zeroes the writer's record, at the end of a run: the next run sets its key again with its first file.
void WipeWriterRecord();

// Stores the key (when not blank) and the password into the writer's record and writes the record at the end
// of the file's whole records (first, for a new file). Texts it encoded are emptied. A password that is blank
// after trimming clears the password chunks, so an earlier file's password is never carried into this one.
// Gives true only when the whole record was written; a file this call created and could not fill is removed.
// With ExistingFile::Refuse the file must not exist yet: one that does is left as it is and false is given.
enum class ExistingFile { Extend, Refuse };
bool WriteProtectedFile(const std::string& path, SecretText& key, SecretText& password,
                        ExistingFile existing = ExistingFile::Extend);

// The stored key and password of the file's last record, trimmed; empty when the file is missing, held by
// another program that shares nothing, unreadable, or not a whole number of records. Never creates a file;
// open for reading with every kind of sharing, so that other programs' readers never hide it.
SecretText ReadStoredKey(const std::string& path);
SecretText ReadStoredPassword(const std::string& path);
