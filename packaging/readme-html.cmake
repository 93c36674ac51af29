# cmake -DREADME=README.md -DHTML=README.html [-DCMARK=cmark-gfm] -P readme-html.cmake
# The page "Author's Web site" opens: the README, with its tables, when cmark-gfm is there, else
# its plain text, which reads well enough as it is.
file(READ "${README}" text)
if(CMARK)
  execute_process(COMMAND "${CMARK}" --extension table --extension autolink --to html "${README}"
                  OUTPUT_VARIABLE body RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CMARK} could not convert ${README}")
  endif()
else()
  string(REPLACE "&" "&amp;" body "${text}")
  string(REPLACE "<" "&lt;" body "${body}")
  string(REPLACE ">" "&gt;" body "${body}")
  set(body "<pre>${body}</pre>\n")
endif()
file(WRITE "${HTML}.tmp" "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>Vireon</title>
<style>
body { max-width: 52em; margin: 1em auto; padding: 0 1em; font-family: sans-serif; line-height: 1.4; }
pre, code { background: #f3f3f3; }
pre { padding: 0.5em; overflow-x: auto; }
table { border-collapse: collapse; }
th, td { border: 1px solid #ccc; padding: 0.2em 0.5em; text-align: left; vertical-align: top; }
</style>
</head>
<body>
${body}</body>
</html>
")
file(RENAME "${HTML}.tmp" "${HTML}")
