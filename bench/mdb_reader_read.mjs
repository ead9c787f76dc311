// Times the npm reader mdb-reader reading a table in its own process, from reading the file to
// the values of every row: node bench/mdb_reader_read.mjs NPM_DIR FILE TABLE PASSWORD RUNS
// [COLUMN]. With COLUMN only that column's values are taken (the work of the presenter's start,
// which reads the question numbers only); without it every column's. Prints one line per run:
// "ms <milliseconds> rows <n>".
import { createRequire } from "module";
import { readFileSync } from "fs";
import { performance } from "perf_hooks";
const [, , npmDir, file, table, password, runs, column] = process.argv;
const require = createRequire(npmDir + "/");
const MDBReader = require("mdb-reader").default;
for (let i = 0; i < Number(runs || 5); ++i) {
    const t0 = performance.now();
    const db = new MDBReader(readFileSync(file), { password });
    const rows = db.getTable(table).getData(column ? { columns: [column] } : {});
    const t1 = performance.now();
    console.log(`ms ${(t1 - t0).toFixed(1)} rows ${rows.length}`);
}
