#!/usr/bin/env bash
# Builds every benchmark program under bench/ (Release), runs each once and
# prints one table: each figure beside its baseline measured in the same run.
#
#   ./scripts/bench.sh            (build folder: build-bench/, or $ORVALO3_BENCH_DIR)
#
# The programs' whole outputs stay in <build folder>/bench-results/, with the
# table as table.md. Each program repeats its measures and prints their
# medians (a few, the best of their runs); the figures are wall-clock times,
# so run this on an otherwise idle machine. The workflows' programs run
# libraries of 10,000 songs: the whole run takes the better part of an hour.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here/.."
build_dir="${ORVALO3_BENCH_DIR:-build-bench}"

"$here/setup-debian.sh"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DORVALO3_BUILD_BENCH=ON >/dev/null

mapfile -t sources < <(ls bench/*/bench_*.cpp | sort)
names=()
for src in "${sources[@]}"; do
    names+=("$(basename "$src" .cpp)")
done
((${#names[@]})) || { echo "bench.sh: no bench/*/bench_*.cpp found" >&2; exit 1; }
results="$build_dir/bench-results"
mkdir -p "$results"
rm -f "$results"/*.txt "$results"/*.err
failed=0
for src in "${sources[@]}"; do
    name="$(basename "$src" .cpp)"
    area="$(basename "$(dirname "$src")")"
    echo "building $area/$name ..." >&2
    if ! cmake --build "$build_dir" --target "$name" -j"$(nproc)" >"$results/$name.build" 2>&1; then
        echo "bench.sh: $name did not build; see $results/$name.build" >&2
        failed=1
        continue
    fi
    echo "running $area/$name ..." >&2
    if ! QT_QPA_PLATFORM=offscreen "$build_dir/bench/$area/$name" >"$results/$name.txt" 2>"$results/$name.err"; then
        echo "bench.sh: $name failed; see $results/$name.txt and $name.err" >&2
        failed=1
    fi
done

python3 - "$results" "${names[@]}" <<'EOF' | tee "$results/table.md"
import os, re, sys

results, names = sys.argv[1], sys.argv[2:]
rows = []          # (measure, figure, baseline, baseline figure, ratio)
unknown = []

def text(name):
    if not os.path.exists(os.path.join(results, name + ".txt")):
        raise ValueError("not built or not run")
    with open(os.path.join(results, name + ".txt"), encoding="utf-8", errors="replace") as f:
        return f.read()

def find(pattern, s):
    m = re.search(pattern, s, re.M)
    if not m:
        raise ValueError("no line matching " + pattern)
    return m

def seconds(s):
    return "%.2f s" % s

def files_per_second(pattern, s):
    m = find(pattern + r":\s+([\d.]+) s\s+([\d.]+) files/s", s)
    return float(m.group(1)), float(m.group(2))

def blocks(s):
    # One block of lines per library a program measured.
    return [b for b in re.split(r"\n(?=library: )", s) if b.startswith("library: ")]

def import_rows(s):
    for block in blocks(s):
        count = find(r"^library: (\d+) files", block).group(1)
        read_s, read_r = files_per_second("read only", block)
        imp_s, imp_r = files_per_second("import", block)
        log_s, log_r = files_per_second("import, log file", block)
        base = "reading the same files (MetaSong only)"
        rows.append(("Import of %s songs through the main window" % count,
                     "%s (%.0f songs/s)" % (seconds(imp_s), imp_r), base,
                     "%s (%.0f songs/s)" % (seconds(read_s), read_r), "%.2fx the time" % (imp_s / read_s)))
        rows.append(("Import of %s songs, log file on" % count,
                     "%s (%.0f songs/s)" % (seconds(log_s), log_r), base,
                     "%s (%.0f songs/s)" % (seconds(read_s), read_r), "%.2fx the time" % (log_s / read_s)))
        peak = float(find(r"^peak memory, import:\s+([\d.]+) MB", block).group(1))
        peak_read = float(find(r"^peak memory, read:\s+([\d.]+) MB", block).group(1))
        rows.append(("Peak memory of a process importing %s songs" % count, "%.0f MB" % peak,
                     "a process that only reads them", "%.0f MB" % peak_read, "%.2fx the memory" % (peak / peak_read)))

def copy_rows(s, what, pattern, label):
    for block in blocks(s):
        count = find(r"^library: (\d+) files", block).group(1)
        base_s, base_r = files_per_second(pattern, block)
        t, r = files_per_second(what, block)
        rows.append((label % count, "%s (%.0f songs/s)" % (seconds(t), r), "the same files copied with QFile::copy",
                     "%s (%.0f songs/s)" % (seconds(base_s), base_r), "%.2fx the time" % (t / base_s)))

def sync_rows(s):
    for block in blocks(s):
        m = find(r"^library: (\d+) files.*?(\d+) in the catalogue", block)
        direct_s, direct_r = files_per_second("direct", block)
        sync_s, sync_r = files_per_second("synchronisation", block)
        rows.append(("Synchronisation of %s songs (%s in the catalogue)" % (m.group(1), m.group(2)),
                     "%s (%.0f songs/s)" % (seconds(sync_s), sync_r),
                     "the same reads, look-ups and saves without the window",
                     "%s (%.0f songs/s)" % (seconds(direct_s), direct_r), "%.2fx the time" % (sync_s / direct_s)))

def wholelist_rows(s):
    for block in blocks(s):
        count = int(find(r"^library: (\d+) files", block).group(1))
        direct_s, direct_r = files_per_second("direct", block)
        t, r = files_per_second("whole-list update", block)
        rows.append(("Whole-list update of the author over %d songs" % count,
                     "%s (%.0f songs/s)" % (seconds(t), r), "the same reads and saves without the window",
                     "%s (%.0f songs/s)" % (seconds(direct_s), direct_r), "%.2fx the time" % (t / direct_s)))

def lookup_rows(s):
    names = float(find(r"^1000 file name lookups: ([\d.]+) ms", s).group(1))
    both = find(r"^1000-song library, name then title: ([\d.]+) ms \((\d+) found", s)
    rows.append(("Catalogue look-ups of 1,000 songs, name then title (%s found)" % both.group(2),
                 "%.0f ms" % float(both.group(1)), "1,000 look-ups by file name only", "%.0f ms" % names,
                 "%.2fx the time" % (float(both.group(1)) / names)))

def index_rows(s):
    count = find(r"^memory: (\d+) songs", s).group(1)
    plain = float(find(r"^plain pass .*?: (\d+) ms", s).group(1))
    base = "plain pass: walk, open, read each song's head"
    for label, pattern in (("Index rebuild", r"^rebuild \(createIndex\): (\d+) ms"),
                           ("Index update, nothing changed", r"^update, nothing changed: (\d+) ms"),
                           ("Index update, 1% touched, 10 added, 10 deleted", r"^update, \d+ touched.*?: (\d+) ms")):
        ms = float(find(pattern, s).group(1))
        rows.append(("%s, %s songs" % (label, count), "%.0f ms" % ms, base, "%.0f ms" % plain,
                     "%.2fx the time" % (ms / max(plain, 1.0))))

def lzhuff_rows(s):
    for block in re.split(r"\n(?=\S)", s):
        head = re.match(r"(MIDI image|Text): (\d+) bytes", block)
        if not head:
            continue
        what = "%s of %d kB" % (head.group(1), int(head.group(2)) // 1000)
        comp = find(r"LZHUF compress\s+([\d.]+) MB/s\s+packed\s+(\d+) bytes \(([\d.]+)%\)", block)
        expand = float(find(r"LZHUF expand\s+([\d.]+) MB/s", block).group(1))
        defl = find(r"deflate -9 in proc\s+([\d.]+) MB/s\s+packed\s+(\d+) bytes \(([\d.]+)%\), inflate ([\d.]+) MB/s",
                    block)
        rows.append(("LZHUF compress, %s" % what,
                     "%s MB/s, packed to %s%%" % (comp.group(1), comp.group(3)), "deflate -9 (zlib, in process)",
                     "%s MB/s, packed to %s%%" % (defl.group(1), defl.group(3)),
                     "%.2fx the speed" % (float(comp.group(1)) / float(defl.group(1)))))
        rows.append(("LZHUF expand, %s" % what, "%.2f MB/s" % expand, "inflate (zlib, in process)",
                     "%s MB/s" % defl.group(4), "%.2fx the speed" % (expand / float(defl.group(4)))))

def save_rows(s):
    count = find(r"^library: (\d+) files", s).group(1)
    base_s, base_r = files_per_second(r"^save before \(QSaveFile\)", s)
    base = "the save before: QSaveFile, no checks"
    for label, pattern in (("Save of %s songs (MIDI, MF4, 1 MB MP3)", r"^save"),
                           ("Save of %s hard-linked songs, in place", r"^save in place, hard-linked")):
        t, r = files_per_second(pattern, s)
        rows.append((label % count, "%s (%.0f songs/s)" % (seconds(t), r), base,
                     "%s (%.0f songs/s)" % (seconds(base_s), base_r), "%.2fx the time" % (t / base_s)))

parsers = {"bench_import": import_rows, "bench_sync": sync_rows, "bench_lookup": lookup_rows,
           "bench_index": index_rows, "bench_lzhuff": lzhuff_rows, "bench_save": save_rows,
           "bench_wholelist": wholelist_rows,
           "bench_backup": lambda s: copy_rows(s, "backup", "QFile::copy loop", "Backup of %s small songs"),
           "bench_transfer": lambda s: copy_rows(s, "transfer", "QFile::copy loop",
                                                 "Transfer of %s small songs, the index update aside")}
# The table's order: the workflows first, then the parts under them.
order = ["bench_import", "bench_sync", "bench_wholelist", "bench_backup", "bench_transfer", "bench_save",
         "bench_index", "bench_lzhuff", "bench_lookup"]
names.sort(key=lambda n: (order.index(n) if n in order else len(order), n))
for name in names:
    try:
        parsers[name](text(name))
    except KeyError:
        unknown.append("%s: no table rows known for it; its output is in %s/%s.txt" % (name, results, name))
    except (OSError, ValueError) as e:
        unknown.append("%s: output not understood (%s); see %s/%s.txt" % (name, e, results, name))

print("| Measure | Figure | Baseline (same run) | Baseline figure | Ratio |")
print("|---|---|---|---|---|")
for r in rows:
    print("| " + " | ".join(r) + " |")
for u in unknown:
    print("\n" + u)
EOF
exit "$failed"
