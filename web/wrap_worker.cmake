# Writes OUT: one function QevSearchWorker whose body is the search's script (SEARCH) followed by
# the worker's own (WORKER), so that its source text is a whole worker script.
file(READ "${SEARCH}" search)
file(READ "${WORKER}" worker)
file(WRITE "${OUT}" "// Generated from qev-search.js and search_worker.js: the seed search's worker.
function QevSearchWorker() {
${search}
${worker}
}
if (typeof module !== 'undefined' && module.exports) module.exports = QevSearchWorker;
")
