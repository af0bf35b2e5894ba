// Validates .glb and .gltf files with Khronos' glTF validator (installed by
// install-validator.sh beside this script); a .gltf's buffers and images are
// read from its folder.
//
//   node tests/gltf/validate.mjs FILE...
//
// Prints every error as "FILE: CODE MESSAGE (POINTER)" and, per file, how many
// warnings and infos it has; exits with status 1 when any file has an error
// or cannot be validated at all.
import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";
import path from "node:path";

const require = createRequire(import.meta.url);
let validator;
try {
  validator = require("gltf-validator");
} catch {
  console.error("gltf-validator is not installed: run tests/gltf/install-validator.sh");
  process.exit(2);
}

const kError = 0;

async function validate(file) {
  const bytes = await readFile(file);
  const folder = path.dirname(file);
  const report = await validator.validateBytes(new Uint8Array(bytes), {
    uri: path.basename(file),
    maxIssues: 0,
    writeTimestamp: false,
    externalResourceFunction: async (uri) => new Uint8Array(await readFile(path.resolve(folder, decodeURIComponent(uri)))),
  });
  const issues = report.issues;
  for (const issue of issues.messages) {
    if (issue.severity === kError) console.log(`${file}: ${issue.code} ${issue.message} (${issue.pointer ?? ""})`);
  }
  console.log(`${file}: ${issues.numErrors} error(s), ${issues.numWarnings} warning(s), ${issues.numInfos} info(s)`);
  return issues.numErrors === 0;
}

const files = process.argv.slice(2);
if (files.length === 0) {
  console.error("usage: node validate.mjs FILE...");
  process.exit(2);
}
let allValid = true;
for (const file of files) {
  try {
    allValid = (await validate(file)) && allValid;
  } catch (error) {
    // Unreadable, or neither glTF nor GLB: the validator rejects it.
    console.log(`${file}: cannot be validated: ${error}`);
    allValid = false;
  }
}
process.exit(allValid ? 0 : 1);
