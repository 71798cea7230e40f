#!/bin/sh
# info --json and merge --json give documents of the shape docs/json/ describes, and say what the options
# ticked: a level, a library, a merge of everything, one whose every object the level already has, and
# --all-statics beside an ID.
#   json_shape_test.sh VELTRANE_CLI DEMO_DIR SCHEMA_DIR WORK_DIR PYTHON3
set -eu
cli=$1 demo=$2 schemas=$3 work=$4 python=$5
mkdir -p "$work"
check() {
    "$python" -c 'import json, sys, jsonschema
jsonschema.validate(json.load(open(sys.argv[1])), json.load(open(sys.argv[2])))' "$work/$1" "$schemas/$2"
}
# Whether the document `d` in $1 makes the Python expression $2 true.
expect() {
    "$python" -c 'import json, sys
d = json.load(open(sys.argv[1]))
assert eval(sys.argv[2]), sys.argv[1] + ": not " + sys.argv[2]' "$work/$1" "$2"
}
"$cli" info --json "$demo/target.tr4" >"$work/level.json"
check level.json info.schema.json
"$cli" info --json "$demo/source.wad" >"$work/library.json"
check library.json info.schema.json
expect library.json 'd["moveables"][1]["Animation"] is None and d["tables"]["Moveables"] == 4'
"$cli" merge --json "$demo/target.tr4" "$demo/source.wad" -o "$work/merged.tr4" --all >"$work/merge.json"
check merge.json merge.schema.json
expect merge.json 'd["ticked"] == {"statics": [0, 1, 2, 3, 4, 5], "moveables": [0, 1, 2, 3]} and not d["conflicts"]'
"$cli" merge --json "$work/merged.tr4" "$demo/source.wad" -o "$work/again.tr4" --all-moveables --static 40-41 \
    >"$work/again.json"
check again.json merge.schema.json
expect again.json 'd["ticked"] == {"statics": [0, 1], "moveables": [0, 1, 2, 3]} and len(d["conflicts"]) == 6'
expect again.json 'd["conflicts"][0] == {"kind": "static mesh", "ObjectId": 40, "policy": "keep"}'
expect again.json 'd["warnings"][0] == "static mesh ID #40 is already in the level; both are kept"'
"$cli" merge --json "$demo/target.tr4" "$demo/source.wad" -o "$work/statics.tr4" --all-statics --moveable 170 \
    >"$work/statics.json"
expect statics.json 'd["ticked"] == {"statics": [0, 1, 2, 3, 4, 5], "moveables": [3]}'
