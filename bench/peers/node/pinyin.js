'use strict';
// Pinyin initials of the GB2312 text pinyin_bench converts (written out by
// write_gb2312_text); the rate counts its GBK bytes, as pinyin_bench does.
// usage: node pinyin.js TEXT_FILE RUNS   (prints one JSON line)
const fs = require('fs');
const { medianMs, requirePeer } = require('./common');

const { module: pinyinPro, version } = requirePeer('pinyin-pro');
const [file, runsText] = process.argv.slice(2);
const runs = Number(runsText || 3);

const bytes = fs.readFileSync(file);
const text = new TextDecoder('gbk').decode(bytes);
// In slices of 64 Ki characters: in one piece the library holds about 2 GB
// for this text; the slices change its memory, not its work.
const kSlice = 1 << 16;
function initials() {
  const parts = [];
  for (let at = 0; at < text.length; at += kSlice) {
    parts.push(pinyinPro.pinyin(text.slice(at, at + kSlice), { pattern: 'first', toneType: 'none', separator: '' }));
  }
  return parts.join('');
}

const ms = medianMs(runs, initials);
console.log(JSON.stringify({
  peer: `pinyin-pro ${version}`,
  bytes: bytes.length,
  ms,
  mb_per_s: bytes.length / 1e6 / (ms / 1e3),
}));
