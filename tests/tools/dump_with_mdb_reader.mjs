// Prints a table as the independent reader sees it, as JSON: {"columns": [...], "rows": [[...]]}.
// usage: node dump_with_mdb_reader.mjs NODE_MODULES_DIR FILE TABLE
import { createRequire } from "module";
import { readFileSync } from "fs";
const [, , npmDir, file, table] = process.argv;
const require = createRequire(npmDir + "/");
const MDBReader = require("mdb-reader").default;
const t = new MDBReader(readFileSync(file)).getTable(table);
const columns = t.getColumnNames();
const rows = t.getData().map((r) => columns.map((c) => r[c]));
// Every character outside ASCII escaped, so that no reader of the output drops a leading U+FEFF.
const json = JSON.stringify({ columns, rows }).replace(
  /[\u007f-\uffff]/g,
  (c) => "\\u" + c.charCodeAt(0).toString(16).padStart(4, "0"),
);
process.stdout.write(json);
