#!/usr/bin/env bash
# Builds the fuzzers (scripts/build-sanitized.sh: clang, libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each briefly from a small seed corpus: the packet
# decoder, then the server's handling of one call. Exits non-zero on a crash, a leak
# or a sanitizer report, leaving the input beside the fuzzer.
#   FUZZ_DIR (the build, default build-san/ at the root), FUZZ_SECONDS (default 20 each)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${FUZZ_DIR:-$root/build-san}
seconds=${FUZZ_SECONDS:-20}
SAN_BUILD_DIR=$dir bash "$root/scripts/build-sanitized.sh" >/dev/null

# Packet seeds: a packet of every type with nulls and a delta, an empty one, a few near misses.
seeds=$dir/fuzz/corpus/packet
mkdir -p "$seeds"
cat >"$seeds/full.json" <<'JSON'
{"fields":[{"name":"CDFILIAL","type":"string","size":4,"key":true,"required":true},{"name":"NRQTD","type":"integer"},{"name":"QTPESO","type":"float"},{"name":"IDATIVO","type":"boolean"},{"name":"DTCAD","type":"datetime"},{"name":"TXFOTO","type":"blob"}],"rows":[["0001",-42,1234.5,true,{"dt":-18000.25},{"blob":"AAH/"}],[null,null,null,null,null,null]],"delta":[{"kind":"insert","new":["0002",1,2.5,false,{"dt":45000.5},null]},{"kind":"modify","old":["0001",-42,1234.5,true,{"dt":1.5},null],"new":["0001",7,1.0,true,{"dt":2.0},{"blob":"QQ=="}]},{"kind":"delete","old":["0003",null,null,null,null,null]}]}
JSON
printf '%s' '{"fields":[],"rows":[]}' >"$seeds/empty.json"
printf '%s' '{"fields":[{"name":"A","type":"string","size":7}],"rows":[["Análise"]]}' >"$seeds/utf8.json"
printf '%s' '{"fields":[{"name":"A","type":"integer"}],"rows":[[18446744073709551615]]}' >"$seeds/big.json"

# Binary answer seeds: a packet with a row, a null row and an insert; a result with a
# by-reference argument; a refusal; streamed answers.
seeds_binary=$dir/fuzz/corpus/binary
mkdir -p "$seeds_binary"
printf 'R\x08\x02\x01A\x00\x04\x03\x01B\x04\x00\x00\x02\x01\x02Ab\x06\x00\x00\x00\x00\x00\x00\xf0\x3f\x00\x00\x01\x00\x01\x01Z\x00\x00' >"$seeds_binary/packet"
printf 'R\x01\x03abc\x01\x01\x02\x0e' >"$seeds_binary/out"
printf 'E\x0fP_ALMOXORIG_CAD' >"$seeds_binary/error"
# Streamed answers: two rows and a by-reference argument; a failure after a row.
printf 'S\x02\x01A\x00\x04\x03\x01B\x04\x00\x00\x01\x01\x02Ab\x06\x00\x00\x00\x00\x00\x00\xf0\x3f\x01\x00\x00\x00\x02\x01\x01\x01\x03abc' >"$seeds_binary/streamed"
printf 'S\x01\x01A\x00\x00\x00\x01\x01\x01x\x02\x05falha' >"$seeds_binary/streamed-failure"
printf 'C\x02\x01\x04000\x31\x02\x0e' >"$seeds_binary/call"

# Call seeds: path, Authorization (SESSION: an open session), body. Reads, writes with a
# packet, the login, a logout, and refusals of every kind.
seeds=$dir/fuzz/corpus/call
mkdir -p "$seeds"
call() { printf '%s\n%s\n%s' "$2" "$3" "$4" >"$seeds/$1"; }
call param '/rdmPedidoAna/GetParamMXA' SESSION '{"args":["0001"]}'
call status '/rdmPedidoAna/GetStatusItens' SESSION '{"args":["0001","0000000501"]}'
call inspections '/rdmPedidoAna/GetInspecAudit' SESSION '{"args":["0001","0000000503"]}'
call date '/Host/DtServ' SESSION '{"args":[]}'
call filter '/Host/GravaOpcFiltro' SESSION '{"args":["FPEDIDOANA","DEMO","fuzz","",{"packet":{"fields":[{"name":"NMCOMPONENTE","type":"string","size":40},{"name":"STVARIAVEL","type":"string","size":40},{"name":"DSVALOR","type":"string","size":255}],"rows":[["edtProduto","Text","1010010001"],["dtpInicio","Date",null]]}}]}'
call operator '/rdmPedidoAna/GetVdOperador' SESSION '{"args":["ANALISTA","errada"]}'
call login '/Host/Login' '' '{"args":["DEMO","demo"]}'
call logout '/Host/Logout' SESSION '{"args":[]}'
call no-session '/rdmPedidoAna/GetParamMXA' '' '{"args":["0001"]}'
call bad-token '/rdmPedidoAna/GetParamMXA' 'Bearer 00ff' '{"args":["0001"]}'
call bad-path '/rdmPedidoAna' SESSION '{"args":[]}'
call bad-module '/Outro/GetParamMXA' SESSION '{"args":["0001"]}'
call bad-method '/rdmPedidoAna/Nenhum' SESSION '{"args":[]}'
call bad-json '/rdmPedidoAna/GetParamMXA' SESSION '{"args":["0001"'
call bad-args '/rdmPedidoAna/GetParamMXA' SESSION '{"args":[1,{"dt":2.5},true,null]}'

# Every method name the server registers, so mutations reach past the method lookup.
dict=$dir/fuzz/call.dict
{
  printf '%s\n' '"\"args\""' '"\"packet\""' '"\"fields\""' '"\"rows\""' '"\"delta\""' '"\"dt\""' \
    '"\"blob\""' '"SESSION"' '"Bearer "' '"/rdmPedidoAna/"' '"/Host/"'
  grep -rhoE 'add(WithoutSession)?\(k(Host)?Module, "[A-Za-z_]+"' "$root/appserver/methods" |
    sed -E 's/.*"([A-Za-z_]+)"/"\1"/' | sort -u
} >"$dict"

status=0
for target in packet binary call; do
  fuzzer=$dir/fuzz/${target}_fuzzer
  echo "fuzz: running $fuzzer for ${seconds}s"
  extra=()
  [ "$target" = call ] && extra=(-dict="$dict")
  if "$fuzzer" "${extra[@]}" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$dir/fuzz/$target-" -print_final_stats=1 "$dir/fuzz/corpus/$target" \
      2>"$dir/fuzz/$target.log"; then
    grep -E '^stat::number_of_executed_units' "$dir/fuzz/$target.log" || true
  else
    tail -40 "$dir/fuzz/$target.log" >&2
    echo "fuzz: the $target fuzzer found a fault; the input is in $dir/fuzz/" >&2
    status=1
  fi
done
[ "$status" = 0 ] && echo "fuzz: no crash"
exit "$status"
