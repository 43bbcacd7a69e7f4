'use strict';
// Every date 1901-01-01 .. 2050-12-31 to its lunar month, day and leap flag,
// the walk calendar_bench and icu_lunar_bench time.
// usage: node lunar.js RUNS   (prints one JSON line)
const { medianMs, requirePeer } = require('./common');

const { module: lunar, version } = requirePeer('lunar-javascript');
const runs = Number(process.argv[2] || 5);

// Packed as our LunarCode: month * 100 + day, negated for a leap month
// (the library already gives a leap month as a negative number).
function lunarCode(year, month, day) {
  const date = lunar.Solar.fromYmd(year, month, day).getLunar();
  const code = Math.abs(date.getMonth()) * 100 + date.getDay();
  return date.getMonth() < 0 ? -code : code;
}

const first = Date.UTC(1901, 0, 1);
const last = Date.UTC(2050, 11, 31);
const kMillisPerDay = 86400000;
const days = (last - first) / kMillisPerDay + 1;

function walk() {
  let sum = 0;
  for (let at = first; at <= last; at += kMillisPerDay) {
    const d = new Date(at);
    sum += lunarCode(d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate());
  }
  return sum;
}

// Our GetLunarCode on dates that tell calendars apart (leap months, a new
// moon near midnight, both ends of the range), to know the work is the same.
const spots = [
  [2000, 2, 5, 101], [1987, 7, 26, -601], [1987, 8, 24, 701], [2012, 8, 17, 701],
  [2033, 12, 22, -1101], [1901, 1, 1, 1111], [2050, 12, 31, 1118],
];
const agreeing = spots.filter(([y, m, d, code]) => lunarCode(y, m, d) === code).length;

const walkMs = medianMs(runs, walk);
console.log(JSON.stringify({
  peer: `lunar-javascript ${version}`,
  days,
  walk_ms: walkMs,
  per_date_ns: (walkMs * 1e6) / days,
  spot_check: `${agreeing}/${spots.length}`,
}));
