// Makes a benchmark folder: COUNT clip information files of 30 minutes each (MOV000.MOI, ...)
// in CLIPS, and in REFERENCE the subtitle files that a PAL run with the default caption format
// and the combined file MOVALL.SUB must write for them. The captions follow the local time zone
// (TZ): every second is normalised with mktime(), the daylight-saving flag left to the library
// the first time and kept afterwards. The clips follow one another with a gap of 67 seconds, so
// 200 of them span more than four days.
#define _DEFAULT_SOURCE
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum { kFramesPerSecond = 25, kDurationMs = 30 * 60 * 1000, kGapSeconds = 30 * 60 + 67 };

static FILE* OpenOrDie(const char* folder, const char* name, const char* mode) {
  char path[4096];
  snprintf(path, sizeof path, "%s/%s", folder, name);
  FILE* file = fopen(path, mode);
  if (file == NULL) {
    perror(path);
    exit(1);
  }
  return file;
}

static void CloseOrDie(FILE* file) {
  if (ferror(file) || fclose(file) != 0) {
    perror("write");
    exit(1);
  }
}

// A 256-byte information file: "V6", the file size, then the header fields, all big-endian.
static void WriteInfoFile(FILE* file, const struct tm* start) {
  unsigned char bytes[256] = {'V', '6', 0, 0, 1, 0};
  const unsigned year = (unsigned)start->tm_year + 1900;
  const unsigned milliseconds = (unsigned)start->tm_sec * 1000;
  const uint32_t duration = kDurationMs;
  bytes[6] = (unsigned char)(year >> 8);
  bytes[7] = (unsigned char)year;
  bytes[8] = (unsigned char)(start->tm_mon + 1);
  bytes[9] = (unsigned char)start->tm_mday;
  bytes[10] = (unsigned char)start->tm_hour;
  bytes[11] = (unsigned char)start->tm_min;
  bytes[12] = (unsigned char)(milliseconds >> 8);
  bytes[13] = (unsigned char)milliseconds;
  for (int i = 0; i < 4; ++i) bytes[14 + i] = (unsigned char)(duration >> (24 - 8 * i));
  fwrite(bytes, 1, sizeof bytes, file);
}

// Writes one clip's lines (whole seconds only: the recorded time has no milliseconds part).
static uint32_t WriteClipLines(FILE* clip, FILE* combined, const struct tm* recorded,
                               uint32_t offset) {
  const uint32_t total = (kFramesPerSecond * (uint32_t)kDurationMs + 500) / 1000;
  struct tm clock = *recorded;
  clock.tm_isdst = -1;
  mktime(&clock);
  for (uint32_t start = 0; start < total; start += kFramesPerSecond) {
    char caption[256];
    const size_t length = strftime(caption, 255, "%Y-%m-%d | %H:%M:%S", &clock);
    caption[length] = '\0';
    const uint32_t end = start + kFramesPerSecond;
    fprintf(clip, "{%d}{%d} %s\r\n", (int32_t)start, (int32_t)end, caption);
    fprintf(combined, "{%d}{%d} %s\r\n", (int32_t)(start + offset), (int32_t)(end + offset),
            caption);
    ++clock.tm_sec;
    mktime(&clock);
  }
  return offset + total;
}

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    fprintf(stderr, "usage: %s CLIPS REFERENCE [COUNT]\n", argv[0]);
    return 2;
  }
  const int count = argc == 4 ? atoi(argv[3]) : 200;
  FILE* combined = OpenOrDie(argv[2], "MOVALL.SUB", "wb");
  // Recorded wall-clock times, laid out in UTC so that they are free of the zone's rules.
  struct tm first = {.tm_year = 2007 - 1900, .tm_mon = 9, .tm_mday = 26, .tm_hour = 21};
  const time_t base = timegm(&first);
  uint32_t offset = 0;
  for (int i = 0; i < count; ++i) {
    const time_t recordedAt = base + (time_t)i * kGapSeconds;
    struct tm recorded;
    gmtime_r(&recordedAt, &recorded);
    char name[32];
    snprintf(name, sizeof name, "MOV%03d.MOI", i);
    FILE* info = OpenOrDie(argv[1], name, "wb");
    WriteInfoFile(info, &recorded);
    CloseOrDie(info);
    snprintf(name, sizeof name, "MOV%03d.SUB", i);
    FILE* clip = OpenOrDie(argv[2], name, "wb");
    offset = WriteClipLines(clip, combined, &recorded, offset);
    CloseOrDie(clip);
  }
  CloseOrDie(combined);
  return 0;
}
