// Reading whole files by the names the application and its data use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// '\' is a folder separator in every name the program or its data give.
std::string KvNativePath(const char* name);

// Reads a whole file of at most maxBytes; false when it is missing, unreadable or larger.
bool KvReadWholeFile(const char* name, std::vector<std::uint8_t>& bytes, std::size_t maxBytes);
