// SPDX-License-Identifier: MIT
// Micro-benchmarks of the extraction core, in bytes of mail (or body) per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "MailExtractor.h"
#include "MailReader.h"
#include "MailScanner.h"

namespace {

std::string Body(std::size_t bytes) {
  static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  std::uint32_t state = 1;
  while (text.size() < bytes) {
    for (int i = 0; i < 76; ++i) {
      state = state * 1664525 + 1013904223;
      text += alphabet[state >> 26];
    }
    text += "\r\n";
  }
  return text;
}

std::string MailOf(std::size_t bodyBytes) {
  return "Subject: x\r\n\r\n------=_P\r\nContent-Type: audio/mid\r\n\r\n" + Body(bodyBytes) +
         "\r\n------=_P--\r\n";
}

void ReadLines(benchmark::State& state) {
  const std::string mail = MailOf(static_cast<std::size_t>(state.range(0)));
  TStringList lines;
  for (auto _ : state) {
    // As ReadMailLines does, from the file's size.
    lines.Clear();
    lines.Reserve(mail.size(), mail.size() / 64);
    TMailLineReader reader(lines);
    reader.Feed(mail);
    reader.Finish();
    benchmark::DoNotOptimize(lines.Count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * mail.size()));
}

void Scan(benchmark::State& state) {
  const std::string mail = MailOf(static_cast<std::size_t>(state.range(0)));
  TStringList lines;
  TMailLineReader reader(lines);
  reader.Feed(mail);
  reader.Finish();
  for (auto _ : state) {
    std::size_t parts = 0;
    FindMidiParts(lines, [&parts](const TMidiPart&) { ++parts; });
    benchmark::DoNotOptimize(parts);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * mail.size()));
}

void Decode(benchmark::State& state) {
  const std::string body = Body(static_cast<std::size_t>(state.range(0)));
  TStringList lines;
  TMailLineReader reader(lines);
  reader.Feed(body);
  reader.Finish();
  std::string out(body.size(), '\0');
  for (auto _ : state) {
    char* at = out.data();
    DecodeLines(lines, [&at](const char* bytes, std::size_t count) {
      for (std::size_t i = 0; i < count; ++i) *at++ = bytes[i];
    });
    benchmark::DoNotOptimize(at);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}

}  // namespace

BENCHMARK(ReadLines)->Arg(64 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(Scan)->Arg(64 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(Decode)->Arg(64 << 20)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
