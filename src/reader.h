#pragma once

#include <SDL.h>
#include <map>
#include <string>

// Key name (case-sensitive) to key code: the names a key file may use.
extern std::map<std::string, SDLKey> keyMap;
extern const char configDir[];
extern const char testFile[];

// Builds keyMap, then reads the key file (configs/keys.cfg under the working
// directory, or the next one lookup::keyFile finds) and applies its lines; a
// file that cannot be opened ends the process with status 1.
void readConfigs();
void createKeyMap();
// Applies one "name = value" line; anything else changes nothing.
void processLine(std::string const& line);
// Splits a line into name and value; false (outputs untouched) when malformed.
bool extractLine(std::string const& line, std::string* name, std::string* value);
