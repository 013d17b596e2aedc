// A build tool: the page's English table from the gettext file that lconvert
// makes of translations/pelto_en.ts, every context, as a module whose default
// export maps "context\u0004source" to the translation.
//   node make-texts.mjs FILE.po OUT.mjs
import { readFileSync, writeFileSync } from 'node:fs';

const [po, out] = process.argv.slice(2);
const table = {};
let message = {},
  field = null;

// A message ends at the next one's first keyword; lconvert writes the context
// as "context|comment".
function flush() {
  if (message.msgctxt !== undefined && message.msgid && message.msgstr) {
    const context = message.msgctxt.split('|')[0];
    table[`${context}\u0004${message.msgid}`] ??= message.msgstr;
  }
  message = {};
}

readFileSync(po, 'utf8')
  .split('\n')
  .forEach((line, index) => {
    if (!line || line.startsWith('#')) return;
    const keyword = /^(msgctxt|msgid|msgstr)\s+(".*")$/.exec(line);
    const literal = keyword ? keyword[2] : line;
    if (keyword) {
      if (keyword[1] === 'msgctxt' || (keyword[1] === 'msgid' && message.msgid !== undefined))
        flush();
      field = keyword[1];
      message[field] = '';
    }
    // gettext's literals are C's, whose escapes lconvert writes as JSON spells them.
    try {
      if (!field || !literal.startsWith('"')) throw new Error('not a string');
      message[field] += JSON.parse(literal);
    } catch (error) {
      console.error(`make-texts: ${po}:${index + 1}: ${error.message}`);
      process.exit(1);
    }
  });
flush();

writeFileSync(
  out,
  `// Made by make-texts.mjs from translations/pelto_en.ts.\nexport default ${JSON.stringify(table, null, 0)};\n`,
);
