// Reads a bank with the independent reader and compares it with the rows mdb-export gives.
import { createRequire } from "module";
import { readFileSync } from "fs";
import { execFileSync } from "child_process";
const require = createRequire(process.argv[2] + "/");
const MDBReader = require("mdb-reader").default;
const [, , npmDir, file, password] = process.argv;
const db = new MDBReader(readFileSync(file));
if ((db.getPassword() ?? "") !== (password ?? "")) throw new Error(`password ${db.getPassword()} != ${password}`);
const rows = db.getTable("题").getData();
const exported = execFileSync("mdb-count", [file, "题"]).toString().trim();
if (String(rows.length) !== exported) throw new Error(`rows ${rows.length} != mdb-count ${exported}`);
console.log(`ok ${rows.length} rows`);
