// Times the npm reader mdb-reader reading a whole table in its own process, from the file's
// bytes in memory to every row's values: node bench/mdb_reader_read.mjs NPM_DIR FILE TABLE
// PASSWORD RUNS. Prints one line per run: "ms <milliseconds> rows <n>".
import { createRequire } from "module";
import { readFileSync } from "fs";
import { performance } from "perf_hooks";
const [, , npmDir, file, table, password, runs] = process.argv;
const require = createRequire(npmDir + "/");
const MDBReader = require("mdb-reader").default;
const bytes = readFileSync(file);
for (let i = 0; i < Number(runs || 5); ++i) {
    const t0 = performance.now();
    const db = new MDBReader(bytes, { password });
    const rows = db.getTable(table).getData();
    const t1 = performance.now();
    console.log(`ms ${(t1 - t0).toFixed(1)} rows ${rows.length}`);
}
