// Writes the first day of every lunar month that overlaps 1901..2050 according to an independent
// lunar calendar (npm lunar-javascript), one line per month: "yyyy-mm-dd month", the month
// negative for a leap month. The output is committed as tests/data/lunar-months.txt.
//   npm install lunar-javascript && node make-lunar-months.js > ../data/lunar-months.txt
const { Solar } = require('lunar-javascript');

const lines = [];
let previous = null;
for (let t = Date.UTC(1901, 0, 1); t <= Date.UTC(2050, 11, 31); t += 86400000) {
  const d = new Date(t);
  const lunar = Solar.fromYmd(d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate()).getLunar();
  const month = lunar.getMonth(); // negative for a leap month
  if (previous === null || lunar.getDay() === 1) {
    const ymd = d.toISOString().slice(0, 10);
    // The first line may fall inside a month: record its day so the reader can count back.
    lines.push(previous === null ? `${ymd} ${month} ${lunar.getDay()}` : `${ymd} ${month}`);
  }
  previous = month;
}
process.stdout.write(lines.join('\n') + '\n');
