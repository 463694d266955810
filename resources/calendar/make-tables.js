// Prints the two data tables of TheCal.htm from an independent lunar calendar (npm
// lunar-javascript), for pasting into the page when the data is to be renewed:
//   lunarInfo  one word per lunar year 1900..2100: bits 15..4 = months 1..12 have 30 days,
//              bits 3..0 = leap month (0 none); 0xf marks that the previous year's leap month
//              has 30 days.
//   sTermFix   [year, term, days] for the terms whose Beijing day differs from the day given
//              by the page's mean-year formula.
//   cd tests/calendar-page && npm ci && node ../../resources/calendar/make-tables.js
const path = require('path');
const { LunarYear, Lunar } = require(path.join(__dirname, '../../tests/calendar-page/node_modules/lunar-javascript'));

const words = [];
for (let y = 1900; y <= 2100; y++) {
  let word = 0;
  for (const m of LunarYear.fromYear(y).getMonths()) {
    if (m.getYear() !== y) continue;
    const n = m.getMonth();
    if (n > 0 && m.getDayCount() === 30) word |= 0x8000 >> (n - 1);
    if (n < 0) {
      word |= -n;
      if (m.getDayCount() === 30) words.bigLeap = y;
    }
  }
  if (words.bigLeap === y - 1) {
    if (word & 0xf) throw new Error(`leap months in ${y - 1} and ${y}`);
    word |= 0xf;
  }
  words.push(word);
}
const hex = words.map(w => '0x' + w.toString(16).padStart(4, '0'));
const rows = [];
for (let i = 0; i < hex.length; i += 10) rows.push('  ' + hex.slice(i, i + 10).join(', '));
console.log('var lunarInfo = [\n' + rows.join(',\n') + '];');

const sTermInfo = [0, 21208, 42467, 63836, 85337, 107014, 128867, 150921, 173149, 195551, 218072, 240693,
  263343, 285989, 308563, 331033, 353350, 375494, 397447, 419210, 440795, 462224, 483532, 504758];
const names = '小寒 大寒 立春 雨水 惊蛰 春分 清明 谷雨 立夏 小满 芒种 夏至 小暑 大暑 立秋 处暑 白露 秋分 寒露 霜降 立冬 小雪 大雪 冬至'.split(' ');
const fixes = [];
for (let y = 1900; y <= 2100; y++) {
  const table = Lunar.fromYmd(y, 1, 1).getJieQiTable();
  names.forEach((name, n) => {
    const s = table[n === 23 ? 'DONG_ZHI' : name]; // the plain key is the previous December's
    if (s.getYear() !== y || s.getMonth() !== (n >> 1) + 1) throw new Error(`${y} ${name}`);
    const mean = new Date(31556925974.7 * (y - 1900) + sTermInfo[n] * 60000 + Date.UTC(1900, 0, 6, 2, 5));
    const delta = s.getDay() - mean.getUTCDate();
    if (delta) fixes.push(`[${y},${n},${delta}]`);
  });
}
const fixRows = [];
for (let i = 0; i < fixes.length; i += 8) fixRows.push('  ' + fixes.slice(i, i + 8).join(', '));
console.log('var sTermFix = [\n' + fixRows.join(',\n') + '];');
