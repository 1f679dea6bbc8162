#pragma once

#include <SDL.h>
#include <map>
#include <string>

// Key name (case-sensitive) to key code: the names a key file may use.
extern std::map<std::string, SDLKey> keyMap;
extern const char configDir[];
extern const char testFile[];

// Builds keyMap, then reads the key file (keyFilePath()) and applies its
// lines; a file that cannot be opened ends the process with status 1.
void readConfigs();
// Reads the given file instead of looking one up.
void useKeyFile(std::string const& path);
// The file given; else the first keys.cfg that is a file, in the order of
// programFiles::searchOrder: configs/ under the working directory, the
// user's (programFiles::configDir), the installed default
// (programFiles::installedDir).
std::string keyFilePath();
// Applies the lines of a key file; false, with nothing changed, when it
// cannot be opened. A tool whose default key the file gave to another
// binding is left unbound.
bool applyKeyFile(std::string const& path);
void createKeyMap();
// The name a key file gives the key: its first name in the table, "none"
// for a key without one (an unbound binding).
std::string keyName(SDLKey code);
// Applies one "name = value" line; anything else changes nothing.
void processLine(std::string const& line);
// Splits a line into name and value; false (outputs untouched) when malformed.
bool extractLine(std::string const& line, std::string* name, std::string* value);
