// The calendar page in headless Chromium: the GB2312 file as built, its lunar data against an
// independent lunar calendar (lunar-javascript), the grid, hover box, navigation and world clock,
// with the page's clock pinned. Run by ctest (calendar_page) with CALENDAR_PAGE set to the built file.
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { chromium } = require('playwright-core');
const { Solar, Lunar, LunarMonth } = require('lunar-javascript');

const pageFile = process.env.CALENDAR_PAGE;
const sourceFile = process.env.CALENDAR_PAGE_SOURCE || path.join(__dirname, '../../resources/calendar/TheCal.htm');
const shotDir = process.env.CALENDAR_SHOTS || os.tmpdir();
const pageUrl = pathToFileURL(pageFile || '').href;

// 10 February 2024 (春节), 09:30 in Beijing.
const PINNED = new Date('2024-02-10T01:30:00Z');

let profile, context, page;
const requests = [];
const pageErrors = [];

before(async () => {
  assert.ok(pageFile && fs.existsSync(pageFile), `built page not found: ${pageFile}`);
  profile = fs.mkdtempSync(path.join(os.tmpdir(), 'calendar-page-'));
  context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    timezoneId: 'Asia/Shanghai',
    viewport: { width: 900, height: 520 },
  });
  context.on('request', r => requests.push(r.url()));
  await context.clock.setFixedTime(PINNED);
  page = context.pages()[0] || await context.newPage();
  page.on('pageerror', e => pageErrors.push(e.message));
  await page.goto(pageUrl);
});

after(async () => {
  if (context) await context.close();
  if (profile) fs.rmSync(profile, { recursive: true, force: true });
});

async function show(y, m) {
  await page.evaluate(([y, m]) => goTo(y, m - 1), [y, m]);
}

// The cell of day d of the shown month: its day number, line text and their colours.
async function cell(d) {
  return page.evaluate(d => {
    const td = document.querySelector(`td[data-date$="-${d}"]`);
    const sd = td.querySelector('.sd'), ld = td.querySelector('.ld');
    return {
      text: ld.textContent, textColor: ld.style.color, color: sd.style.color,
      bold: getComputedStyle(ld).fontWeight === '700', background: getComputedStyle(td).backgroundColor,
    };
  }, d);
}

function ymd(ms) {
  const d = new Date(ms);
  return [d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate()];
}

test('the built file is GB2312 with CR LF line ends, a charset meta element and the title 日历', async () => {
  const bytes = fs.readFileSync(pageFile);
  const source = fs.readFileSync(sourceFile, 'utf8');
  assert.ok(!source.includes('\r'), 'the source keeps LF line ends');
  for (let i = 0; i < bytes.length; i++) {
    if (bytes[i] === 0x0a) assert.equal(bytes[i - 1], 0x0d, `bare LF at byte ${i}`);
  }
  // Read as a browser reads a gb2312 page, the file must give back the source text exactly.
  assert.equal(new TextDecoder('gb2312', { fatal: true }).decode(bytes), source.replace(/\n/g, '\r\n'));
  assert.doesNotMatch(source, /document\.all|attachEvent|ActiveXObject|progid:|\bfilter\s*:|navigator\.appName/i,
    'written for current browsers only');
  const head = bytes.toString('latin1').split('</head>')[0];
  assert.match(head, /<meta http-equiv="Content-Type" content="text\/html; charset=gb2312">/);
  assert.equal(await page.title(), '日历');
  assert.equal(await page.evaluate(() => document.characterSet), 'GBK');
});

test('lunar date of every day 1900..2100 matches lunar-javascript', async () => {
  // The page's own conversion, for all days, packed per day as [year, month (negative for a leap
  // month), day, length of that lunar month].
  const pageDays = await page.evaluate(() => {
    const out = [];
    for (let y = 1900; y <= 2100; y++) {
      for (let m = 0; m < 12; m++) {
        for (const c of calendar(y, m).days) out.push(c.lYear, c.isLeap ? -c.lMonth : c.lMonth, c.lDay, c.lMonthLength);
      }
    }
    return out;
  });
  let differences = 0, i = 0;
  const examples = [], monthLengths = new Map();
  const monthLength = (y, m) => {
    if (!monthLengths.has(y * 100 + m)) monthLengths.set(y * 100 + m, LunarMonth.fromYm(y, m).getDayCount());
    return monthLengths.get(y * 100 + m);
  };
  for (let ms = Date.UTC(1900, 0, 1); ms <= Date.UTC(2100, 11, 31); ms += 86400000, i += 4) {
    const lunar = Solar.fromYmd(...ymd(ms)).getLunar();
    const want = [lunar.getYear(), lunar.getMonth(), lunar.getDay(),
      monthLength(lunar.getYear(), lunar.getMonth())];
    const got = pageDays.slice(i, i + 4);
    if (got.join() !== want.join()) {
      differences++;
      if (examples.length < 5) examples.push(`${ymd(ms).join('-')}: page ${got} reference ${want}`);
    }
  }
  assert.equal(i, pageDays.length);
  console.log(`lunar dates: ${i / 4} days compared, ${differences} differences`);
  assert.equal(differences, 0, examples.join('\n'));
});

test('solar terms and the year, month and day pillars of every day match lunar-javascript', async () => {
  const pageDays = await page.evaluate(() => {
    const out = [];
    for (let y = 1900; y <= 2100; y++) {
      for (let m = 0; m < 12; m++) {
        for (const c of calendar(y, m).days) out.push(c.solarTerms + '|' + c.cYear + c.cMonth + c.cDay);
      }
    }
    return out;
  });
  let termDifferences = 0, pillarDifferences = 0, terms = 0, i = 0;
  const examples = [];
  for (let ms = Date.UTC(1900, 0, 1); ms <= Date.UTC(2100, 11, 31); ms += 86400000, i++) {
    // Late in the day, so that a term that begins on this day already counts for the pillars.
    const lunar = Solar.fromYmdHms(...ymd(ms), 23, 59, 59).getLunar();
    const term = lunar.getJieQi();
    const want = (term === '清明' ? '清明节' : term) + '|' +
      lunar.getYearInGanZhiExact() + lunar.getMonthInGanZhiExact() + lunar.getDayInGanZhi();
    const [gotTerm, gotPillars] = pageDays[i].split('|');
    const [wantTerm, wantPillars] = want.split('|');
    if (wantTerm) terms++;
    if (gotTerm !== wantTerm) termDifferences++;
    if (gotPillars !== wantPillars) pillarDifferences++;
    if (pageDays[i] !== want && examples.length < 5) examples.push(`${ymd(ms).join('-')}: page ${pageDays[i]} reference ${want}`);
  }
  console.log(`solar terms: ${terms} compared, ${termDifferences} differences; pillars: ${pillarDifferences} differences`);
  assert.equal(terms, 201 * 24);
  assert.equal(termDifferences + pillarDifferences, 0, examples.join('\n'));
});

test('month grids: festivals, lunar month starts and their colours', async () => {
  // [year, month, day, line text, line colour, day-number colour]
  const cases = [
    [2024, 2, 10, '春节', 'red', 'red'], // lunar festival, holiday on a Saturday
    [2024, 2, 9, '除夕', 'red', 'red'], // day 00 of month 1 on a Friday: a holiday
    [2024, 2, 24, '元宵节', 'red', 'red'],
    [2024, 2, 2, '小年', 'red', 'black'],
    [2024, 2, 4, '立春', 'limegreen', 'red'],
    [2024, 2, 14, '情人节', 'blue', 'black'],
    [2024, 2, 15, '初六', 'black', 'black'],
    [2024, 2, 20, '十一', 'black', 'black'],
    [2024, 3, 10, '2月大', 'black', 'red'], // lunar 2024-2-1, a 30-day month, on a Sunday
    [2023, 3, 22, '世界水日', 'blue', 'black'], // a festival before the start of the leap month
    [2025, 7, 25, '闰6月小', 'black', 'black'], // a leap month of 29 days after a 30-day sixth month
    [2023, 3, 23, '世界气象日', 'blue', 'black'], // 闰2月初二 carries no 龙抬头节
    [2033, 12, 22, '闰11月小', 'black', 'black'],
    [2023, 4, 5, '清明节', 'red', 'red'], // always red, also the day number
    [2023, 4, 20, '谷雨', 'limegreen', 'black'], // a term before the start of lunar month 3
    [2023, 5, 19, '4月大', 'black', 'black'],
    [2023, 4, 1, '愚人节 ...', 'blue', 'red'], // cut to 4 characters
    [2023, 4, 23, '世界图书...', 'blue', 'red'],
    [2024, 6, 10, '端午节', 'red', 'black'],
    [2024, 6, 5, '芒种', 'red', 'black'],
    [2024, 6, 21, '夏至', 'red', 'black'],
    [2024, 12, 21, '冬至', 'red', 'red'],
    [2024, 12, 13, '南京大屠...', 'blue', 'black'], // a Friday the 13th that has a festival first
    [2024, 9, 13, '黑色星期五', 'black', 'black'],
    [2024, 10, 1, '国庆节 ...', 'blue', 'red'], // a holiday on a Tuesday
    [2024, 3, 31, '复活节 ...', 'blue', 'red'], // Easter
    [2025, 4, 20, '妈祖生辰...', 'red', 'red'], // Easter too, shown after the lunar festival
    [2024, 5, 12, '国际护士...', 'blue', 'red'], // 国际护士节 and the second Sunday's 国际母亲节
    [2023, 5, 14, '国际母亲节', 'blue', 'red'],
    [2024, 1, 28, '世界麻风日', 'blue', 'red'], // last Sunday
    [2024, 9, 29, '世界海事日', 'blue', 'red'], // last Sunday
    [2024, 11, 28, '感恩节', 'blue', 'black'], // fourth Thursday
    [2024, 5, 1, '妈祖生辰...', 'red', 'black'], // lunar 3-23 before 国际劳动节, cut to 4 characters
    [2024, 9, 17, '中秋节', 'red', 'black'],
    // January 1900: lunar 1899-12 begins on the 1st and 1900-1 on the 31st; both months' festivals.
    [1900, 1, 1, '新年元旦', 'blue', 'red'],
    [1900, 1, 2, '初二', 'black', 'black'],
    [1900, 1, 8, '腊八节', 'red', 'black'],
    [1900, 1, 23, '小年', 'red', 'black'],
    [1900, 1, 30, '除夕', 'red', 'red'],
    [1900, 1, 31, '春节', 'red', 'red'],
    // January 2025: 腊八 of the month that began in December, and the next year's first days.
    [2025, 1, 7, '腊八节', 'red', 'black'],
    [2025, 1, 28, '除夕', 'red', 'red'],
    [2025, 1, 29, '春节', 'red', 'red'],
    [2100, 12, 31, '12月小', 'black', 'black'],
  ];
  const failures = [];
  for (const [y, m, d, text, textColor, color] of cases) {
    await show(y, m);
    const c = await cell(d);
    const got = [c.text, c.textColor, c.color].join(' ');
    if (got !== [text, textColor, color].join(' ')) failures.push(`${y}-${m}-${d}: ${got}`);
  }
  assert.deepEqual(failures, []);

  // Easter, including years where the Chinese lunar 15th is not the church's full moon.
  const easters = ['1900-4-15', '1913-3-23', '1943-4-25', '2000-4-23', '2008-3-23', '2019-4-21', '2024-3-31',
    '2025-4-20', '2038-4-25', '2100-3-28'];
  assert.deepEqual(await page.evaluate(dates => dates.map(t => {
    const [y, m, d] = t.split('-').map(Number);
    const days = calendar(y, m - 1).days;
    return days.filter(c => c.solarFestival.includes('复活节 Easter Sunday')).map(c => `${y}-${m}-${c.sDay}`).join()
      + (calendar(y, m === 3 ? 3 : 2).days.some(c => c.solarFestival.includes('复活节')) ? ' and another' : '');
  }), easters), easters);
  // Festival names are cut to 4 characters, or 8 for a Gregorian one that begins with a Latin letter.
  assert.deepEqual(await page.evaluate(() => [
    cutLunarFestival('七七中国情人节'), cutLunarFestival('一二三四五六'),
    cutSolarFestival('世界儿歌日'), cutSolarFestival('世界防治结核病日'), cutSolarFestival('Easter Sunday'),
    cutSolarFestival('Easter Day'), cutSolarFestival('复活节 Easter Sunday')]),
  ['七七中国...', '一二三四五六', '世界儿歌日', '世界防治...', 'Easter S...', 'Easter Day', '复活节 ...']);

  await show(2024, 3);
  assert.ok((await cell(10)).bold, 'the first day of a lunar month is bold');
  assert.ok(!(await cell(11)).bold);
  // The 1st of February 2024 is a Thursday: 4 empty cells before it, 29 days, 9 empty after.
  const layout = await page.evaluate(() => {
    goTo(2024, 1);
    return [...document.querySelectorAll('#grid tbody td')].map(td => td.querySelector('.sd')?.textContent || '');
  });
  assert.equal(layout.length, 42);
  assert.equal(layout.slice(0, 5).join(','), ',,,,1');
  assert.equal(layout[32], '29');
  assert.equal(layout.slice(33).join(''), '');
  assert.deepEqual(await page.$$eval('#grid th', ths => ths.map(th => th.textContent)), ['日', '一', '二', '三', '四', '五', '六']);
});

test('Saturday colours follow the weekend setting and today has an aqua background', async () => {
  const saturdays = await page.evaluate(() => {
    const out = {};
    for (const setting of [1, 2, 3, 4]) {
      conWeekend = setting;
      out[setting] = calendar(2024, 1).days.filter(c => c.week == 6).map(c => c.color).join(' ');
    }
    conWeekend = 3;
    return out;
  });
  // Saturdays of February 2024: the 3rd, 10th (春节, a holiday), 17th and 24th.
  assert.equal(saturdays[1], 'black red black black');
  assert.equal(saturdays[2], 'green red green green');
  assert.equal(saturdays[3], 'red red red red');
  const [a, , b, c] = saturdays[4].split(' ');
  assert.ok(a === b && a !== c && ['green', 'red'].includes(a) && ['green', 'red'].includes(c), saturdays[4]);
  await show(2024, 2);
  assert.equal((await cell(10)).background, 'rgb(0, 255, 255)');
  assert.notEqual((await cell(11)).background, 'rgb(0, 255, 255)');
  await show(2024, 3);
  assert.equal(await page.locator('td.today').count(), 0);
});

test('heading: era, stem-branch year and animal', async () => {
  const cases = [
    [1900, '光绪26年 农历 庚子年 【鼠年】'],
    [1909, '宣统元年 农历 己酉年 【鸡年】'],
    [1911, '宣统3年 农历 辛亥年 【猪年】'],
    [1912, '民国元年 农历 壬子年 【鼠年】'],
    [1948, '民国37年 农历 戊子年 【鼠年】'],
    [1949, '建国0年 农历 己丑年 【牛年】'],
    [1950, '建国元年 农历 庚寅年 【虎年】'],
    [2024, '建国75年 农历 甲辰年 【龙年】'],
    [2100, '建国151年 农历 庚申年 【猴年】'],
  ];
  for (const [y, heading] of cases) {
    await show(y, 6);
    assert.equal(await page.textContent('#heading'), heading);
  }
  assert.equal(await page.textContent('#watermark'), '2100JUN');
});

test('hover box shows the date, lunar date, pillars and festivals, and hides on leaving', async () => {
  await show(2024, 2);
  await page.hover('td[data-date="2024-2-10"]');
  const box = page.locator('#detail');
  assert.ok(await box.isVisible());
  const lines = await box.evaluate(b => [...b.children].map(e => e.innerText));
  assert.deepEqual(lines, ['2024 年 2 月 10 日', '星期六', '农历 1 月 1 日', '甲辰年 丙寅月 甲辰日', '春节\n国际气象节']);
  const style = await box.evaluate(b => {
    const s = getComputedStyle(b);
    return [s.width, s.backgroundColor, getComputedStyle(b.querySelector('.lunar')).color,
      getComputedStyle(b.querySelector('.gz')).color];
  });
  assert.deepEqual(style, ['130px', 'rgba(0, 0, 139, 0.8)', 'rgb(238, 130, 238)', 'rgb(255, 255, 0)']);

  // The box follows the mouse.
  const cellBox = await page.locator('td[data-date="2024-2-10"]').boundingBox();
  await page.mouse.move(cellBox.x + 5, cellBox.y + 5);
  const first = await box.boundingBox();
  await page.mouse.move(cellBox.x + 25, cellBox.y + 30);
  const second = await box.boundingBox();
  assert.equal(Math.round(second.y - first.y), 25);

  await show(2025, 7);
  await page.hover('td[data-date="2025-7-25"]');
  assert.equal(await page.locator('#detail .lunar').innerText(), '农历闰 6 月 1 日');
  assert.equal(await page.locator('#detail .fest').count(), 0, 'a day without term or festival has no band');

  await page.mouse.move(5, 500);
  assert.ok(!(await box.isVisible()));
});

test('navigation stays within 1900..2100 and 本月 returns to the current month', async () => {
  const state = () => page.evaluate(() => [shownYear, shownMonth + 1,
    ...['yearDown', 'monthDown', 'monthUp', 'yearUp'].map(id => document.getElementById(id).disabled)]);
  await show(1900, 1);
  assert.deepEqual(await state(), [1900, 1, true, true, false, false]);
  await page.evaluate(() => { goTo(shownYear - 1, shownMonth); goTo(shownYear, shownMonth - 1); });
  assert.deepEqual(await state(), [1900, 1, true, true, false, false]);
  await page.click('#monthUp');
  assert.deepEqual(await state(), [1900, 2, true, false, false, false]);

  await show(2100, 6);
  assert.deepEqual(await state(), [2100, 6, false, false, false, true]);
  await page.click('#monthUp');
  await page.click('#monthUp');
  await page.click('#monthUp');
  await page.click('#monthUp');
  await page.click('#monthUp');
  await page.click('#monthUp');
  assert.deepEqual(await state(), [2100, 12, false, false, true, true]);

  await show(2023, 12);
  await page.click('#monthUp');
  assert.deepEqual((await state()).slice(0, 2), [2024, 1]);
  await page.click('#monthDown');
  await page.click('#yearDown');
  assert.deepEqual((await state()).slice(0, 2), [2022, 12]);
  await page.selectOption('#year', '1999');
  await page.selectOption('#month', { value: '4' });
  assert.deepEqual((await state()).slice(0, 2), [1999, 5]);
  assert.equal(await page.locator('#year option').count(), 201);
  assert.deepEqual(await page.$$eval('#year option', o => [o[0].textContent, o[200].textContent]), ['1900', '2100']);

  await page.click('#thisMonth');
  assert.deepEqual((await state()).slice(0, 2), [2024, 2]);
  assert.equal(await page.textContent('#thisMonth'), '本月');
});

// A few zones against the browser's own time-zone database, every hour of 2025 and 2026.
test('world clock: UTC difference and daylight saving agree with the zone database', async () => {
  const zones = {
    'United Kingdom': 'Europe/London', Germany: 'Europe/Berlin', Greece: 'Europe/Athens',
    'Portugal Azores': 'Atlantic/Azores', 'USA Eastern': 'America/New_York', 'USA Pacific': 'America/Los_Angeles',
    'Canada Newfoundland': 'America/St_Johns', Cuba: 'America/Havana', 'Australia Eastern': 'Australia/Sydney',
    'Australia Central': 'Australia/Adelaide', 'New Zealand': 'Pacific/Auckland', China: 'Asia/Shanghai',
    India: 'Asia/Kolkata', Nepal: 'Asia/Kathmandu', 'USA Arizona': 'America/Phoenix',
  };
  const mismatches = await page.evaluate(zones => {
    const entries = {};
    for (const region in timeData) {
      for (const key in timeData[region]) entries[key.replace(/\s{2,}.*$/, '').trim()] = timeData[region][key];
    }
    const out = [];
    for (const name in zones) {
      const format = new Intl.DateTimeFormat('en-US', {
        timeZone: zones[name], hourCycle: 'h23', year: 'numeric', month: 'numeric', day: 'numeric',
        hour: 'numeric', minute: 'numeric',
      });
      for (let t = Date.UTC(2025, 0, 1); t < Date.UTC(2027, 0, 1); t += 3600000) {
        const p = Object.fromEntries(format.formatToParts(t).map(x => [x.type, x.value]));
        const want = Date.UTC(+p.year, +p.month - 1, +p.day, +p.hour, +p.minute);
        const got = zoneTime(entries[name], t).ms;
        if (got !== want) out.push(`${name} at ${new Date(t).toISOString()}: ${(got - want) / 60000} min`);
      }
    }
    return out;
  }, zones);
  assert.deepEqual(mismatches.slice(0, 5), []);
});

test('world clock: China by default, a chosen city with daylight saving, restored after a reload', async () => {
  await page.evaluate(() => localStorage.clear());
  await page.reload();
  const clock = () => page.evaluate(() => [
    document.getElementById('localTime').textContent, document.getElementById('dstMark').textContent,
    document.getElementById('cityText').textContent, document.getElementById('cityNames').textContent,
    document.getElementById('mapStrip').style.transform]);
  assert.deepEqual(await page.$$eval('#region option', o => o.map(x => x.textContent)),
    ['亚洲', '中东、印度半岛', '北欧', '中欧、东欧', '西欧', '南欧', '北美洲', '中南美洲', '非洲', '大洋洲']);
  assert.equal(await page.locator('#entry option:checked').textContent(), 'China 中国');
  assert.deepEqual(await clock(), ['2024年2月10日 (六) 上午 09:30:00', '',
    '2024年2月10日 (六) 上午 09:30:00', '北京、重庆、上海、天津', 'translateX(-80px)']);

  // Summer in London: one hour of daylight saving, an afternoon hour on the 12-hour clock.
  await context.clock.setFixedTime(new Date('2024-07-01T14:05:09Z'));
  await page.reload();
  await page.selectOption('#region', { label: '西欧' });
  await page.selectOption('#entry', { label: 'United Kingdom 英国' });
  assert.deepEqual(await clock(), ['2024年7月1日 (一) 下午 10:05:09', '★',
    '2024年7月1日 (一) 下午 03:05:09', '伦敦、爱丁堡', 'translateX(0px)']);

  // New York in winter: no daylight saving, the previous day, a negative difference on the map.
  await context.clock.setFixedTime(new Date('2024-01-01T03:00:00Z'));
  await page.selectOption('#region', { label: '北美洲' });
  await page.selectOption('#entry', { label: 'USA Eastern 美国东部' });
  await page.evaluate(() => tick());
  assert.deepEqual(await clock(), ['2024年1月1日 (一) 上午 11:00:00', '',
    '2023年12月31日 (日) 下午 10:00:00', '华盛顿、纽约、迈阿密、亚特兰大', 'translateX(-190px)']);

  // Noon stays 上午 and midnight is 00 on this clock.
  assert.deepEqual(await page.evaluate(() => [clockText(2024, 0, 1, 1, 12, 0, 0), clockText(2024, 0, 1, 1, 0, 5, 7)]),
    ['2024年1月1日 (一) 上午 12:00:00', '2024年1月1日 (一) 上午 00:05:07']);

  // The choice survives a reload (saved when the page is left).
  await page.reload();
  assert.equal(await page.locator('#region option:checked').textContent(), '北美洲');
  assert.equal(await page.locator('#entry option:checked').textContent(), 'USA Eastern 美国东部');
  const stored = await page.evaluate(() => [localStorage.TZ1, localStorage.TZ2, String(tz2)]);
  assert.deepEqual(stored.slice(0, 2), ['6', stored[2]]);

  // Browsers keep no cookies for a page opened from a file, so the cookie path is checked with a
  // stand-in cookie jar: what is written for 365 days is read back when local storage is empty.
  const cookies = await page.evaluate(() => {
    const jar = {}, written = [];
    Object.defineProperty(document, 'cookie', {
      configurable: true,
      get: () => Object.entries(jar).map(([k, v]) => k + '=' + v).join('; '),
      set: text => { written.push(text); const [k, v] = text.split(';')[0].split('='); jar[k] = v; },
    });
    saveSettings();
    localStorage.clear();
    const read = [readSetting('TZ1'), readSetting('TZ2')];
    const expires = Date.parse(/expires=([^;]+)/.exec(written[0])[1]);
    delete document.cookie;
    return { written: written.map(w => w.replace(/expires=[^;]+/, 'expires=*')), read, days: (expires - Date.now()) / 86400000 };
  });
  assert.deepEqual(cookies.written, ['TZ1=6; expires=*; path=/', `TZ2=${stored[2]}; expires=*; path=/`]);
  assert.deepEqual(cookies.read, [6, +stored[2]]);
  assert.ok(Math.abs(cookies.days - 365) < 1, `cookies kept for ${cookies.days} days`);

  // A stored choice that names no entry falls back to China.
  await page.evaluate(() => { localStorage.TZ1 = '6'; localStorage.TZ2 = '999'; });
  await page.evaluate(() => window.removeEventListener('pagehide', saveSettings));
  await page.reload();
  assert.equal(await page.locator('#entry option:checked').textContent(), 'China 中国');
  await context.clock.setFixedTime(PINNED);
  await page.evaluate(() => localStorage.clear());
  await page.evaluate(() => window.removeEventListener('pagehide', saveSettings));
  await page.reload();
});

test('the context menu is suppressed', async () => {
  const prevented = await page.evaluate(() => {
    const ev = new MouseEvent('contextmenu', { bubbles: true, cancelable: true });
    document.getElementById('d10').dispatchEvent(ev);
    return ev.defaultPrevented;
  });
  assert.equal(prevented, true);
});

test('screenshot of the current month; no request left the page file, no script error', async () => {
  await page.reload();
  await page.hover('td[data-date="2024-2-10"]');
  await page.screenshot({ path: path.join(shotDir, 'calendar-page.png') });
  const outside = requests.filter(u => !u.startsWith('file:') && !u.startsWith('data:'));
  assert.deepEqual(outside, []);
  assert.ok(requests.length > 0);
  assert.deepEqual(pageErrors, []);
});
