#!/bin/sh
# info --json and merge --json give documents of the shape docs/json/ describes: a level, a library,
# a merge that adds objects and one whose every object the level already has.
#   json_shape_test.sh VELTRANE_CLI DEMO_DIR SCHEMA_DIR WORK_DIR PYTHON3
set -eu
cli=$1 demo=$2 schemas=$3 work=$4 python=$5
mkdir -p "$work"
check() {
    "$python" -c 'import json, sys, jsonschema
jsonschema.validate(json.load(open(sys.argv[1])), json.load(open(sys.argv[2])))' "$work/$1" "$schemas/$2"
}
"$cli" info --json "$demo/target.tr4" >"$work/level.json"
check level.json info.schema.json
"$cli" info --json "$demo/source.wad" >"$work/library.json"
check library.json info.schema.json
"$cli" merge --json "$demo/target.tr4" "$demo/source.wad" -o "$work/merged.tr4" --all >"$work/merge.json"
check merge.json merge.schema.json
"$cli" merge --json "$work/merged.tr4" "$demo/source.wad" -o "$work/again.tr4" --all-moveables --static 40-41 \
    >"$work/again.json"
check again.json merge.schema.json
grep -q '"ObjectId": 41,' "$work/again.json" # the conflicts are there to be checked
