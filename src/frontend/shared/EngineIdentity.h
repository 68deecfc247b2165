// How Velkor names itself to a GUI: the same in every protocol.
#pragma once

constexpr const char* EngineName = "Velkor";
constexpr const char* EngineVersion = "1.0";
constexpr const char* EngineAuthor = "the Velkor developers";
