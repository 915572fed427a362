#include "collection_generator.h"

#include <array>
#include <random>
#include <string>

namespace tw::bench {

namespace {

// One short sample per language, by language number - 1.
const std::array<const char*, 15> kSamples = {
    "procedure Swap(var A, B: Integer);\r\nvar T: Integer; { обмен значений }\r\nbegin\r\n  T := A; A := B; B := T;\r\nend;",
    "#include <stdio.h>\r\n// вывод строки\r\nint main(void) {\r\n    printf(\"%d\\n\", 42);\r\n    return 0;\r\n}",
    "      PROGRAM MAIN\r\nC     сумма ряда\r\n      DO 10 I = 1, 10\r\n   10 S = S + I\r\n      END",
    "public class Hello {\r\n    /* приветствие */\r\n    public static void main(String[] args) {\r\n        System.out.println(\"Привет\");\r\n    }\r\n}",
    "Sub Main()\r\n    ' счётчик\r\n    Dim i As Integer\r\n    For i = 1 To 10: Debug.Print i: Next\r\nEnd Sub",
    "       IDENTIFICATION DIVISION.\r\n       PROGRAM-ID. HELLO.\r\n      * вывод\r\n       PROCEDURE DIVISION.\r\n           DISPLAY 'HELLO'.",
    "using System;\r\n// точка входа\r\nclass P { static void Main() { Console.WriteLine(\"Привет\"); } }",
    "body {\r\n  /* основной шрифт */\r\n  font: 10pt sans-serif;\r\n  color: #336699;\r\n}",
    "<html>\r\n<!-- заголовок -->\r\n<body><p class=\"x\">Текст &amp; ещё</p></body>\r\n</html>",
    "function sum(a, b) {\r\n  // сложение\r\n  return a + b;\r\n}\r\nalert(sum(1, 2));",
    "<?php\r\n// подключение\r\n$x = array(1, 2, 3);\r\nforeach ($x as $v) { echo $v; }\r\n?>",
    "#!/usr/bin/perl\r\n# разбор строк\r\nmy @a = split /,/, $line;\r\nprint scalar(@a), \"\\n\";",
    "; обнуление регистра\r\nmov eax, 0\r\nxor ebx, ebx\r\nint 80h",
    "' сообщение\r\nDim s\r\ns = \"Привет\"\r\nMsgBox s",
    "-- выборка\r\nSELECT id, name FROM users\r\nWHERE age > 18\r\nORDER BY name;",
};

} // namespace

void generateCollection(CollectionTree& tree, const GeneratorOptions& options) {
    std::mt19937 rng(options.seed);
    // Sections that may take children, with their levels (asking the tree would rebuild
    // its index after every insertion in the middle).
    std::vector<std::pair<Node*, int>> sections{{tree.root(), 0}};
    int made = tree.count();
    int sectionNo = 0, pageNo = 0;
    while (made < options.nodes) {
        const auto [parent, level] = sections[rng() % sections.size()];
        const bool section = rng() % 8 == 0 && level < 5;
        if (section) {
            const QString caption = QStringLiteral("Раздел %1").arg(++sectionNo);
            const int icon = rng() % 4 == 0 ? static_cast<int>(rng() % 15) + 1 : -1;
            sections.emplace_back(tree.appendChild(parent, caption, 0, 0, icon, makePageRecord({}, caption, 0, 0, 1, icon)),
                                  level + 1);
        } else {
            const int lan = static_cast<int>(rng() % 15) + 1;
            const std::string sample = kSamples[lan - 1];
            const int target = static_cast<int>(rng() % (2 * options.averageTextBytes + 1));
            std::string text = sample;
            while (static_cast<int>(text.size()) < target) text += "\r\n" + sample;
            const QString caption = QStringLiteral("Пример %1").arg(++pageNo);
            tree.appendChild(parent, caption, 2, 2, -1, makePageRecord(std::move(text), caption, lan, 2, 2, -1));
        }
        ++made;
    }
}

CollectionBenchArguments collectionBenchArguments(const QStringList& args, int defaultNodes) {
    CollectionBenchArguments out;
    out.options.nodes = args.size() > 1 ? args[1].toInt() : defaultNodes;
    if (args.size() > 2) out.runs = args[2].toInt();
    if (args.size() > 3) out.options.averageTextBytes = args[3].toInt();
    return out;
}

} // namespace tw::bench
