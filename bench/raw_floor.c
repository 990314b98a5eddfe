/* raw_floor.c -- the floor the conversion benchmark measures brenvik-cli against: the same
   reads and writes as the four conversions, done with read()/write() and 1 MiB buffers, and no
   format logic beyond skipping a fixed 44-byte header and the 16384-byte pre-buffer. Whatever
   brenvik-cli spends beyond this program is the cost of its own code.

   Build: cc -O2 -o raw_floor raw_floor.c

   raw_floor split     IN.wav L.wav R.wav   stereo wave -> two tracks
   raw_floor mono2loop IN.wav T.wav         mono wave -> one track
   raw_floor merge     L.wav R.wav OUT.wav  two tracks -> stereo wave (the shorter zero-padded)
   raw_floor loop2mono T.wav OUT.wav        one track -> mono wave
   raw_floor read FILE...                   reads each file whole (what naming a card must read)

   A track is a canonical 44-byte mono header, 16384 zero bytes, then the samples; its data size
   counts the zero bytes too. Input headers are not parsed: the audio is everything behind them,
   cut to whole samples (split: whole frames). The benchmark gives sources of whole 512-byte
   sectors, where brenvik-cli carries every byte over, so the outputs match its byte for byte.

   Like brenvik-cli, it reports nothing before its outputs are on the device: each output file is
   fsync'ed, then the folder that holds them, and for the loop jobs (split, mono2loop) that
   folder's parent too, as brenvik-cli syncs the loop folder and the card. The loop jobs also
   write a 16384-byte loopinfo.ldf of zeros beside their tracks. */
#include <fcntl.h>
#include <libgen.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { CHUNK = 1 << 20, HALF = CHUNK / 2, HEADER = 44, PREBUF = 16384 };

static uint16_t src[CHUNK / 2];           /* one 1 MiB read */
static uint16_t lane_l[HALF / 2];         /* one channel's half of it, or 512 KiB of a track */
static uint16_t lane_r[HALF / 2];
static uint16_t dst[CHUNK / 2];           /* merge: one 1 MiB stereo block */
static const uint8_t silence[PREBUF];

static void fail(const char *what) {
  perror(what);
  exit(1);
}

static int open_in(const char *path) {
  int fd = open(path, O_RDONLY);
  if (fd < 0) fail(path);
  return fd;
}

static int open_out(const char *path) {
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) fail(path);
  return fd;
}

/* Syncs the output and closes it; 0 on success. */
static int finish(int fd) {
  if (fsync(fd) != 0) fail("fsync");
  return close(fd);
}

static void sync_folder(const char *folder) {
  int fd = open(folder, O_RDONLY | O_DIRECTORY);
  if (fd < 0 || fsync(fd) != 0) fail(folder);
  close(fd);
}

/* The folder holding an output, and for a loop job also that folder's parent. A loop job first
   writes its 16384-byte description beside the tracks, as brenvik-cli writes loopinfo.ldf. */
static void sync_folders_of(const char *path, int loop_job) {
  char copy[4096], description[4200];
  snprintf(copy, sizeof copy, "%s", path);
  char *folder = dirname(copy);
  if (loop_job) {
    snprintf(description, sizeof description, "%s/loopinfo.ldf", folder);
    int fd = open_out(description);
    if (write(fd, silence, PREBUF) != PREBUF || finish(fd) != 0) fail(description);
  }
  sync_folder(folder);
  if (loop_job) sync_folder(dirname(folder));
}

static uint64_t size_of(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0) fail("fstat");
  return (uint64_t)st.st_size;
}

static uint64_t behind(uint64_t size, uint64_t skip) { return size > skip ? size - skip : 0; }

static void seek_to(int fd, uint64_t at) {
  if (lseek(fd, (off_t)at, SEEK_SET) < 0) fail("lseek");
}

static void put(int fd, const void *buf, size_t n) {
  const uint8_t *p = buf;
  while (n > 0) {
    ssize_t k = write(fd, p, n);
    if (k <= 0) fail("write");
    p += k;
    n -= (size_t)k;
  }
}

/* Fills buf with up to n bytes; fewer only at the end of the file. */
static size_t get(int fd, void *buf, size_t n) {
  uint8_t *p = buf;
  size_t got = 0;
  while (got < n) {
    ssize_t k = read(fd, p + got, n - got);
    if (k < 0) fail("read");
    if (k == 0) break;
    got += (size_t)k;
  }
  return got;
}

static void set16(uint8_t *p, unsigned v) { p[0] = (uint8_t)v; p[1] = (uint8_t)(v >> 8); }
static void set32(uint8_t *p, uint32_t v) { set16(p, v & 0xffff); set16(p + 2, v >> 16); }

/* A 16-bit 44.1 kHz PCM header. */
static void put_header(int fd, unsigned channels, uint32_t data_bytes) {
  uint8_t h[HEADER];
  memcpy(h, "RIFF", 4);
  set32(h + 4, data_bytes + 36);
  memcpy(h + 8, "WAVEfmt ", 8);
  set32(h + 16, 16);
  set16(h + 20, 1);
  set16(h + 22, channels);
  set32(h + 24, 44100);
  set32(h + 28, 44100 * 2 * channels);
  set16(h + 32, 2 * channels);
  set16(h + 34, 16);
  memcpy(h + 36, "data", 4);
  set32(h + 40, data_bytes);
  put(fd, h, HEADER);
}

static void put_track_start(int fd, uint64_t audio_bytes) {
  put_header(fd, 1, (uint32_t)(PREBUF + audio_bytes));
  put(fd, silence, PREBUF);
}

static int split(const char *in, const char *left, const char *right) {
  int fi = open_in(in), fl = open_out(left), fr = open_out(right);
  uint64_t frames = behind(size_of(fi), HEADER) / 4;
  seek_to(fi, HEADER);
  put_track_start(fl, frames * 2);
  put_track_start(fr, frames * 2);
  for (uint64_t left_over = frames * 4; left_over > 0;) {
    size_t want = left_over < CHUNK ? (size_t)left_over : CHUNK;
    size_t got = get(fi, src, want);
    if (got != want) fail("short read");
    size_t n = got / 4;
    for (size_t j = 0; j < n; j++) {
      lane_l[j] = src[2 * j];
      lane_r[j] = src[2 * j + 1];
    }
    put(fl, lane_l, n * 2);
    put(fr, lane_r, n * 2);
    left_over -= got;
  }
  int status = close(fi) | finish(fl) | finish(fr);
  sync_folders_of(left, 1);
  return status;
}

static int merge(const char *left, const char *right, const char *out) {
  int fl = open_in(left), fr = open_in(right), fo = open_out(out);
  uint64_t bl = behind(size_of(fl), HEADER + PREBUF) / 2 * 2;
  uint64_t br = behind(size_of(fr), HEADER + PREBUF) / 2 * 2;
  uint64_t longest = bl > br ? bl : br;
  seek_to(fl, HEADER + PREBUF);
  seek_to(fr, HEADER + PREBUF);
  put_header(fo, 2, (uint32_t)(2 * longest));
  for (uint64_t done = 0; done < longest;) {
    size_t block = longest - done < HALF ? (size_t)(longest - done) : HALF;
    size_t gl = done < bl ? get(fl, lane_l, block) & ~(size_t)1 : 0;
    size_t gr = done < br ? get(fr, lane_r, block) & ~(size_t)1 : 0;
    if (gl < block) memset((uint8_t *)lane_l + gl, 0, block - gl);
    if (gr < block) memset((uint8_t *)lane_r + gr, 0, block - gr);
    size_t n = block / 2;
    for (size_t j = 0; j < n; j++) {
      dst[2 * j] = lane_l[j];
      dst[2 * j + 1] = lane_r[j];
    }
    put(fo, dst, block * 2);
    done += block;
  }
  int status = close(fl) | close(fr) | finish(fo);
  sync_folders_of(out, 0);
  return status;
}

/* mono2loop (to_track) and loop2mono: one stream of samples behind a fixed skip. */
static int copy(const char *in, const char *out, int to_track) {
  int fi = open_in(in), fo = open_out(out);
  uint64_t skip = to_track ? HEADER : HEADER + PREBUF;
  uint64_t audio = behind(size_of(fi), skip) / 2 * 2;
  seek_to(fi, skip);
  if (to_track)
    put_track_start(fo, audio);
  else
    put_header(fo, 1, (uint32_t)audio);
  for (uint64_t left_over = audio; left_over > 0;) {
    size_t want = left_over < CHUNK ? (size_t)left_over : CHUNK;
    if (get(fi, src, want) != want) fail("short read");
    put(fo, src, want);
    left_over -= want;
  }
  int status = close(fi) | finish(fo);
  sync_folders_of(out, to_track);
  return status;
}

/* Reads every file named, 1 MiB at a time, and prints the bytes read: what hashing a card's
   loops cannot do with less. */
static int read_all(int count, char **paths) {
  long long total = 0;
  for (int i = 0; i < count; ++i) {
    const int fd = open(paths[i], O_RDONLY);
    if (fd < 0) fail(paths[i]);
    for (;;) {
      const ssize_t got = read(fd, src, CHUNK);
      if (got < 0) fail(paths[i]);
      if (got == 0) break;
      total += got;
    }
    close(fd);
  }
  printf("%lld\n", total);
  return 0;
}

int main(int argc, char **argv) {
  if (argc == 5 && strcmp(argv[1], "split") == 0) return split(argv[2], argv[3], argv[4]);
  if (argc == 5 && strcmp(argv[1], "merge") == 0) return merge(argv[2], argv[3], argv[4]);
  if (argc == 4 && strcmp(argv[1], "mono2loop") == 0) return copy(argv[2], argv[3], 1);
  if (argc == 4 && strcmp(argv[1], "loop2mono") == 0) return copy(argv[2], argv[3], 0);
  if (argc >= 3 && strcmp(argv[1], "read") == 0) return read_all(argc - 2, argv + 2);
  fprintf(stderr, "usage: raw_floor split IN L R | mono2loop IN T | merge L R OUT | loop2mono T OUT | read FILE...\n");
  return 2;
}
