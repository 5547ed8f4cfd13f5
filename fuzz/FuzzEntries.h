#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The engine's text and wire parsers, each wrapped as one function that takes arbitrary bytes.
// The libFuzzer targets call them, and the regression tests replay every kept input through the
// very same functions. Each returns 0; a fault shows up as a crash or a sanitizer report.
namespace tx::fuzz {

// Starts the engine's managers once per process, headless, with the configuration and log files
// that TOLVEX_CONFIG and TOLVEX_LOG name (the caller sets both; the configuration must ask for
// headless). Scratch files go into scratch_dir, which must exist. 0, or -1 when a manager failed.
int startEngine(const std::string& scratch_dir);

// The bytes as a sprite file given to the resource manager's loader; every sprite is released
// again afterwards.
int feedSprite(const std::uint8_t* data, std::size_t size);

// The bytes as the configuration file (read through TOLVEX_CONFIG) and as configuration text;
// the settings are put back to what they were at start-up afterwards.
int feedConfig(const std::uint8_t* data, std::size_t size);

// The bytes as key:value text for match(), then deserialized into an Object and a ViewObject and
// serialized back; every object is deleted afterwards.
int feedSerialization(const std::uint8_t* data, std::size_t size);

// The bytes as a script for the network manager with several loopback connections (see
// NetworkScript.h).
int feedNetwork(const std::uint8_t* data, std::size_t size);

// The bytes as an input recording, read from its header to its last event as a replay reads it.
int feedRecording(const std::uint8_t* data, std::size_t size);

}  // namespace tx::fuzz
