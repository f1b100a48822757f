// The compressed .x forms: after the 16-byte header, a DWORD total size (header included),
// then blocks of WORD uncompressed size, WORD compressed size and "CK" followed by raw deflate
// data whose dictionary is the previous block's output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// data and size cover everything after the header. out receives the uncompressed body.
bool KvXInflate(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                std::string& error);
