# A document's page of HTML, made from its Markdown at build time by Debian's
# cmark-gfm (CommonMark with GitHub's tables) rather than by code of ours:
#   cmake -DMARKDOWN=docs/user-guide.md -DHTML=user-guide.html -P tools/markdown-html.cmake
# The page is titled by the document's first heading; a link to another
# document (name.md) leads to that document's page (name.html) beside it.
find_program(CMARK_GFM cmark-gfm REQUIRED)
execute_process(COMMAND ${CMARK_GFM} --extension table ${MARKDOWN}
                OUTPUT_VARIABLE body COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE "href=\"([a-z-]+)\\.md([\"#])" "href=\"\\1.html\\2" body "${body}")
file(STRINGS ${MARKDOWN} title ENCODING UTF-8 LIMIT_COUNT 1 REGEX "^# ")
string(SUBSTRING "${title}" 2 -1 title)
set(style [[
body{font-family:sans-serif;max-width:60em;margin:1em auto;padding:0 1em;line-height:1.45}
table{border-collapse:collapse}th,td{border:1px solid #999;padding:.2em .5em;vertical-align:top}
code{background:#eee}img{max-width:100%}
]])
file(WRITE ${HTML} "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                   "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                   "<title>${title}</title>\n<style>${style}</style>\n</head>\n<body>\n${body}"
                   "</body>\n</html>\n")
