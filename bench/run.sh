#!/usr/bin/env bash
# bench/run.sh [small|full]: builds the benchmark programs (Release, in build-bench/), runs
# them and prints one table: each workload's median beside the limit measured in the same
# run, the ratio, the target and a verdict.
#
#   small  collections of 1,000 and 20,000 nodes, 20,000 files to import, 5 runs (3 for
#          the exports); about a minute once the programs are built
#   full   collections of 1,000, 20,000 and 100,000 nodes, 50,000 files, 5 runs (3 for the
#          exports); several minutes
#
# Verdicts are only printed: timings on a shared machine are noisy. The exit status is
# non-zero when a benchmark fails (a crash, a non-zero exit, a time-out) or prints no
# figures. The rows of bench_window_start read "missing" while the tree has no such
# program, and those of bench_editor and bench_window_start while their sources print no
# RESULT lines. The table also goes to build-bench/bench-results/MODE/table.md, beside
# every program's output. Environment: BENCH_BUILD_DIR (default build-bench), BENCH_BUILD_TYPE
# (default Release; CI passes the build type of the tree it already built), BENCH_TMPDIR (where the
# benchmarks write their files; default a folder in /dev/shm, so the disk's own delays,
# shared with everyone on the machine, stay out of both columns).
set -uo pipefail

mode=${1:-small}
case $mode in
small)
    sizes=(1000 20000)
    files=20000
    runs=5
    export_runs=3
    ;;
full)
    sizes=(1000 20000 100000)
    files=50000
    runs=5
    export_runs=3
    ;;
*)
    echo "usage: bench/run.sh [small|full]" >&2
    exit 2
    ;;
esac
editor_megabytes=10

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}
started=$SECONDS

# ---- build ------------------------------------------------------------------------------
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
echo "== building the benchmarks ($build) ==" >&2
build_type=${BENCH_BUILD_TYPE:-Release}
if ! cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" > /dev/null; then
    echo "bench/run.sh: configuring failed" >&2
    exit 1
fi
targets=(bench_load_save bench_search_engine bench_structure_export bench_directory_export bench_import bench_editor)
# The window start-up benchmark may not be in this tree yet: its rows then read "missing".
# (grep reads the whole list: with -q it would stop early, and pipefail would count the
# broken pipe that ninja then gets as a failure.)
if ninja -C "$build" -t targets all 2> /dev/null | grep '^bench_window_start:' > /dev/null; then
    targets+=(bench_window_start)
fi
if ! ninja -C "$build" -j2 "${targets[@]}" > "$build/bench-build.log" 2>&1; then
    tail -n 30 "$build/bench-build.log" >&2
    echo "bench/run.sh: building failed" >&2
    exit 1
fi
built=$SECONDS

# ---- running ----------------------------------------------------------------------------
out=$build/bench-results/$mode
rm -rf "$out"
mkdir -p "$out/logs"
results=$out/results.txt  # program size key value
status=$out/status.txt    # program size state [detail]
: > "$results"
: > "$status"

if [ -n "${BENCH_TMPDIR:-}" ]; then
    mkdir -p "$BENCH_TMPDIR"
    scratch=$(mktemp -d "$BENCH_TMPDIR/tarnwick-bench.XXXXXX")
elif [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch=$(mktemp -d /dev/shm/tarnwick-bench.XXXXXX)
else
    scratch=$(mktemp -d)
fi
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$scratch
chmod 700 "$scratch"

# Programs kept by other hands say whether they print RESULT lines yet by their source.
declare -A source_of=([bench_editor]=bench/editor_bench.cpp [bench_window_start]=bench/window_start_bench.cpp)

# run PROGRAM SIZE ARGUMENTS...: one run of a benchmark program; its RESULT lines go to
# $results under PROGRAM SIZE, its state to $status.
run() {
    local program=$1 size=$2
    shift 2
    local exe=$build/bench/$program log=$out/logs/$program-$size.log
    if [ ! -x "$exe" ]; then
        echo "$program $size missing not built in this tree" >> "$status"
        return
    fi
    local t0=$SECONDS rc=0
    timeout --kill-after=30 1200 "$exe" "$@" > "$log" 2>&1 || rc=$?
    awk -v p="$program" -v s="$size" '$1 == "RESULT" && NF == 3 { print p, s, $2, $3 }' "$log" >> "$results"
    local figures
    figures=$(grep -c '^RESULT ' "$log")
    if [ "$rc" -ne 0 ]; then
        echo "$program $size failed exit status $rc (log: $log)" >> "$status"
    elif [ "$figures" -eq 0 ]; then
        local src=${source_of[$program]:-}
        if [ -n "$src" ] && ! grep -q 'RESULT' "$root/$src" 2> /dev/null; then
            echo "$program $size missing prints no RESULT lines yet" >> "$status"
        else
            echo "$program $size failed printed no figures (log: $log)" >> "$status"
        fi
    else
        echo "$program $size ok" >> "$status"
    fi
    printf '  %-24s %-8s %4d s%s\n' "$program" "$size" $((SECONDS - t0)) "$([ "$rc" -ne 0 ] && echo "  FAILED ($rc)")" >&2
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "== running ($mode; load average $load_before) ==" >&2
for n in "${sizes[@]}"; do
    run bench_load_save "$n" "$n" "$runs"
    run bench_search_engine "$n" "$n" "$runs"
    run bench_structure_export "$n" "$n" 2000 1000 "$export_runs"
    run bench_directory_export "$n" "$n" "$export_runs"
    run bench_window_start "$n" "$n" "$runs"
done
run bench_import "$files" "$files" 50 "$runs"
run bench_editor "$editor_megabytes" "$editor_megabytes" "$runs"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# ---- the table --------------------------------------------------------------------------
# Rows: program | workload | key | limit key (- none) | target | what the limit is.
# Targets: xR (at most R times the limit), +S (at most the limit plus S ms), <M (at most
# M ms), xR<M (both); "@N" gives a verdict only from size N on.
rows=$(
    cat << 'EOF'
bench_load_save|read into the tree (core)|xml_read_ms|xml_read_limit_ms|x1.3@100000|pugixml reads and parses the file
bench_load_save|write, safe-save helper (core)|xml_write_ms|xml_write_limit_ms|x1.5@100000|pugixml saves the parsed file
bench_window_start|start the window, last file, until the tree is shown|window_start_ms|window_read_ms|+300@100000|reading in core
bench_window_start|resident memory, collection open in the window|window_rss_mb|window_file_mb|x2.5@100000|the file's size
bench_editor|open page in the editor, CR LF, shown|editor_open_crlf_ms|editor_open_bare_ms|x3<150|the text set into a bare QScintilla
bench_editor|open page in the editor, LF only, shown|editor_open_lf_ms|editor_open_bare_ms|x3<150|the text set into a bare QScintilla
bench_editor|one keystroke at the end of the page|editor_keystroke_ms|editor_keystroke_small_ms|<16|one keystroke in a 1 KB page
bench_editor|jump to the end of the page, styled, shown|editor_jump_end_ms|-|<150|-
bench_search_engine|search all pages, no match (core)|search_exact_ms|search_memmem_ms|x2@100000|memmem over the same texts
bench_structure_export|whole-structure HTML export (core)|html_export_ms|html_export_limit_ms|x2@20000|the same files written plainly
bench_directory_export|directory export of every page (core)|dir_export_ms|dir_export_limit_ms|x1.5@100000|the same folders and files made plainly
bench_import|import, names only (core)|import_names_ms|import_names_limit_ms|x2|walking the tree (std::filesystem)
bench_import|import, names only (window)|import_names_window_ms|import_names_window_limit_ms|x2|walking the tree (std::filesystem)
bench_import|import with contents (core)|import_contents_ms|import_contents_limit_ms|x2|walking and reading the tree
bench_import|import with contents (window)|import_contents_window_ms|import_contents_window_limit_ms|x2|walking and reading the tree
bench_load_save|text collection write (core)|text_write_ms|text_write_limit_ms|x3@100000|writing the file's bytes
bench_load_save|text collection read (core)|text_read_ms|text_read_limit_ms|x3@100000|reading the file's bytes
EOF
)

table() {  # table text|markdown
    awk -v format="$1" -v rowspec="$rows" -v results="$results" -v status="$status" '
    function size_label(program, size) {
        if (program == "bench_import") return commas(size) " files"
        if (program == "bench_editor") return size " MB"
        return commas(size) " nodes"
    }
    function commas(n,   s, out) {
        s = n ""; out = ""
        while (length(s) > 3) { out = "," substr(s, length(s) - 2) out; s = substr(s, 1, length(s) - 3) }
        return s out
    }
    function amount(v, unit) { return sprintf("%.1f %s", v, unit) }
    function line(w, s, m, l, r, t, v) {
        if (format == "markdown") printf "| %s | %s | %s | %s | %s | %s | %s |\n", w, s, m, l, r, t, v
        else printf "%-52s %-14s %11s %11s %9s  %-24s %s\n", w, s, m, l, r, t, v
    }
    BEGIN {
        while ((getline rec < results) > 0) {
            split(rec, f, " ")
            value[f[1], f[2], f[3]] = f[4]
        }
        while ((getline rec < status) > 0) {
            n = split(rec, f, " ")
            state[f[1], f[2]] = f[3]
            detail = ""
            for (i = 4; i <= n; ++i) detail = detail (i > 4 ? " " : "") f[i]
            why[f[1], f[2]] = detail
            if (!((f[1], f[2]) in seen)) { seen[f[1], f[2]] = 1; sizes[f[1]] = sizes[f[1]] " " f[2] }
        }
        if (format == "markdown") {
            print "| Workload | Size | Median | Limit | Ratio | Target | Verdict |"
            print "|---|---|---:|---:|---:|---|---|"
        } else {
            line("Workload", "Size", "Median", "Limit", "Ratio", "Target", "Verdict")
        }
        nrows = split(rowspec, lines, "\n")
        for (r = 1; r <= nrows; ++r) {
            split(lines[r], c, "|")
            program = c[1]; work = c[2]; key = c[3]; lkey = c[4]; target = c[5]
            unit = key ~ /_mb$/ ? "MB" : "ms"
            # The target: factor, plus, most; and the size a verdict starts at.
            from = 0
            if (target ~ /@/) { from = substr(target, index(target, "@") + 1) + 0; target = substr(target, 1, index(target, "@") - 1) }
            factor = ""; plus = ""; most = ""
            if (target ~ /^x/) { factor = substr(target, 2) + 0; if (index(target, "<")) most = substr(target, index(target, "<") + 1) + 0 }
            else if (target ~ /^\+/) plus = substr(target, 2) + 0
            else if (target ~ /^</) most = substr(target, 2) + 0
            tdesc = ""
            if (factor != "") tdesc = "<= " factor "x limit"
            if (plus != "") tdesc = "<= limit + " plus " ms"
            if (most != "") tdesc = tdesc (tdesc != "" ? ", " : "") "<= " most " ms"
            if (sizes[program] == "") {
                line(work, "-", "-", "-", "-", tdesc, "missing (not run)")
                continue
            }
            ns = split(substr(sizes[program], 2), list, " ")
            for (s = 1; s <= ns; ++s) {
                size = list[s]
                label = size_label(program, size)
                st = state[program, size]
                if (st != "ok") {
                    line(work, label, "-", "-", "-", tdesc, (st == "failed" ? "FAILED: " : "missing: ") why[program, size])
                    continue
                }
                if (!((program, size, key) in value) || (lkey != "-" && !((program, size, lkey) in value))) {
                    line(work, label, "-", "-", "-", tdesc, "missing: no " key (lkey != "-" ? " / " lkey : ""))
                    continue
                }
                v = value[program, size, key] + 0
                l = lkey != "-" ? value[program, size, lkey] + 0 : ""
                ratio = "-"
                if (plus != "" && l != "") ratio = sprintf("%+.0f ms", v - l)
                else if (l != "" && l > 0) ratio = sprintf("%.2fx", v / l)
                good = 1
                if (factor != "" && l != "" && v > factor * l) good = 0
                if (plus != "" && l != "" && v > l + plus) good = 0
                if (most != "" && v > most) good = 0
                verdict = good ? "ok" : "OVER"
                if (from && size + 0 < from) verdict = "n/a below " commas(from)
                line(work, label, amount(v, unit), l != "" ? amount(l, unit) : "-", ratio, tdesc, verdict)
            }
        }
    }'
}

echo
echo "Benchmarks ($mode): medians of the runs, each beside its limit measured in the same run."
echo "Load average (1, 5, 15 min) before: $load_before, after: $load_after; $(nproc) cores."
table text
table markdown > "$out/table.md"
echo
echo "Build $((built - started)) s, benchmarks $((SECONDS - built)) s. Logs and table.md: $out"

failed=$(awk '$3 == "failed"' "$status")
missing=$(awk '$3 == "missing" { print $1 ": " substr($0, index($0, $4)) }' "$status" | sort -u)
[ -n "$missing" ] && printf 'Missing rows:\n%s\n' "$missing"
if [ -n "$failed" ]; then
    printf 'FAILED:\n%s\n' "$failed"
    exit 1
fi
exit 0
