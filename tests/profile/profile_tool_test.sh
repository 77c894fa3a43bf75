#!/bin/sh
# tessellor-tool profile: the JSON of a known profile, and exit status 1 for
# files that are not profiles.
set -u
tool=$1
fixtures=$2
fail=0

expected='{"solved":["Zoo\\Cats_1_2"],"language":"english","preview":true,"size":12,"autoMark":false,"showHover":true,"current":0,"states":[{"id":"logo","width":3,"height":2,"columnClues":1,"rowClues":2,"cells":["12","03","11"],"colours":["30","00","33"],"leftMarks":["00","10"],"topMarks":["0","0","0"],"seconds":0}],"lineHelp":false,"liveMistakes":false,"window":null}'
actual=$("$tool" profile "$fixtures/profile_tool_sample.pfl" --json)
if [ "$actual" != "$expected" ]; then
    echo "unexpected JSON:"; echo "$actual"; fail=1
fi

for bad in "$fixtures/profile_bad_signature.pfl" "$fixtures/no-such-file.pfl" "$fixtures"; do
    "$tool" profile "$bad" --json >/dev/null 2>&1
    status=$?
    if [ "$status" -ne 1 ]; then
        echo "exit status $status for $bad"; fail=1
    fi
done
exit $fail
