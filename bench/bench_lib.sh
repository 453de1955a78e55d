# Shared by the whole-process benchmarks (sourced): finding lumaconv,
# timing a command and reporting ours against the peers.
#   LC_BENCH_BUILD  build directory whose tools/lumaconv/lumaconv to time
#                   (a Release build); each script has its own default.
#   RUNS            set by the script: runs per figure.
#   BENCH_W, BENCH_H  image size (4000 x 3000), see bench_start.
# Times are the best of RUNS runs, both wall clock and CPU (user + system
# of the process): on a shared machine the CPU figure is the steadier one.

# The common start, once RUNS is set: one thread in every peer, IM the
# ImageMagick program itself (not a wrapper earlier on the PATH), a work
# directory removed on exit, and the image size in W, H and MP
# (BENCH_W x BENCH_H, 4000 x 3000 unless given: a small one checks a script).
bench_start() {
  export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1 VIPS_CONCURRENCY=1
  IM=/usr/bin/convert
  [ -x "$IM" ] || IM=convert
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  W=${BENCH_W:-4000} H=${BENCH_H:-3000}
  MP=$(python3 -c "print($W * $H / 1e6)")
}

# The photo-like image (smooth gradients with noise) every benchmark times,
# W x H, with further ImageMagick options before the output.
bench_photo() {  # output [options...]
  local out=$1; shift
  "$IM" -size "${W}x${H}" -seed 7 plasma:fractal "$@" "$out"
}

# lumaconv of $LC_BENCH_BUILD, else of the script's default build.
bench_lumaconv() {  # default-build-dir
  local exe="${LC_BENCH_BUILD:-$1}/tools/lumaconv/lumaconv"
  [ -x "$exe" ] || { echo "no lumaconv in ${LC_BENCH_BUILD:-$1} (configure with -DCMAKE_BUILD_TYPE=Release)" >&2; return 1; }
  echo "$(cd "$(dirname "$exe")" && pwd)/lumaconv"
}

# "wall cpu" in seconds, or "0 0" when the command fails.
bench_time() {  # command...
  python3 - "$RUNS" "$@" <<'PY'
import resource, subprocess, sys, time
runs, cmd = int(sys.argv[1]), sys.argv[2:]
walls, cpus = [], []
for _ in range(runs):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    done = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if done.returncode != 0:
        print("FAILED: " + " ".join(cmd), file=sys.stderr)
        print("0 0")
        sys.exit(0)
    walls.append(wall)
    cpus.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
print("%.4f %.4f" % (min(walls), min(cpus)))
PY
}

# Only the wall or only the CPU seconds of bench_time.
bench_wall() { local t; t=$(bench_time "$@"); echo "${t% *}"; }
bench_cpu() { local t; t=$(bench_time "$@"); echo "${t#* }"; }

# Megapixels per second in the given seconds, and the ratio of two times.
bench_rate() { python3 -c "print('%.1f' % ($MP / max($1, 0.001)))"; }
bench_ratio() { python3 -c "print('%.2f' % (max($1, 0.001) / max($2, 0.001)))"; }

# Prints each program's rate and the ratio of ours to the fastest peer.
bench_report() {  # title "ours-wall ours-cpu" name="wall cpu"...
  python3 - "$MP" "$@" <<'PY'
import sys
mp, title, ours = float(sys.argv[1]), sys.argv[2], [float(v) for v in sys.argv[3].split()]
print("\n%s (%g MP)" % (title, mp))
print("  %-28s %8s %10s %8s" % ("", "wall s", "MP/s", "cpu s"))
def line(name, t):
    print("  %-28s %8.3f %10.1f %8.3f" % (name, t[0], mp / max(t[0], 1e-6), t[1]))
line("lumaconv", ours)
best = None
for pair in sys.argv[4:]:
    name, times = pair.split("=", 1)
    t = [float(v) for v in times.split()]
    if t[0] <= 0:
        print("  %-28s   failed" % name)
        continue
    line(name, t)
    best = t if best is None else [min(best[0], t[0]), min(best[1], t[1])]
if best and ours[0] > 0:
    print("  ratio to the fastest peer: %.2fx wall, %.2fx cpu" % (best[0] / ours[0], best[1] / max(ours[1], 1e-6)))
PY
}

# A decode timed in lumaconv (`info`), both Magicks (to null:) and a netpbm
# reader, reported against the fastest.
bench_decode() {  # title file netpbm-reader [magick-format-prefix]
  local title=$1 file=$2 reader=$3 in=$2
  [ $# -ge 4 ] && in="$4:$2"
  bench_report "$title" "$(bench_time "$LUMACONV" info "$file")" \
    "ImageMagick convert=$(bench_time $IM "$in" null:)" \
    "GraphicsMagick gm=$(bench_time gm convert "$in" null:)" \
    "netpbm $reader=$(bench_time "$reader" "$file")"
}
